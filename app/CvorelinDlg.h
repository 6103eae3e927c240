#pragma once
#include "framework/CBitmap.h"
#include "framework/CButton.h"
#include "framework/CDialogEx.h"
#include "framework/CStatic.h"
#include "framework/CString.h"
#include "skin/CSkinEdit.h"
#include "switching/VersionSwitch.h"
#include "web/CWebBrowser2.h"

// The launcher's one window: owns every control object and the game directory.
class CvorelinDlg : public CDialogEx {
public:
    enum { IDD = 102 };

    explicit CvorelinDlg(CWnd* parent = nullptr);
    ~CvorelinDlg() override = default;

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    // Enter, Escape and Alt+F4 arrive here and must leave the window open.
    void OnOK() override {}
    void OnCancel() override {}

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnCloseButton();
    void OnMinimizeButton();
    void OnSwitch120E();
    void OnSwitch124E();
    void OnSwitch126();
    void OnSwitch120E4M();
    void OnSwitch124E8M();
    void SwitchTo(const VersionVariant& variant);

    HICON m_hIcon;
    unsigned int m_nSkinWidth = 0;
    unsigned int m_nSkinHeight = 0;
    CBitmap m_bmpBackground;
    CWebBrowser2 m_webTop;
    CWebBrowser2 m_webBottom;
    CButton m_btnClose;
    CButton m_btnMinimize;
    CButton m_btnStart;
    CButton m_btn120E;
    CButton m_btn124E;
    CButton m_btn126;
    CButton m_btn120E4M;
    CButton m_btn124E8M;
    CButton m_btnMaps;
    CStatic m_stTitle;
    CStatic m_stHomePage;
    CStatic m_stLastRun;
    CStatic m_stVersion;
    CString m_strGameDir;
    CString m_strVersionText;
    CStatic m_stRunCount;
    CSkinEdit m_editSkin;
    CStatic m_picTop;
    CStatic m_picBottom;

    DECLARE_MESSAGE_MAP()

private:
    // Points each web panel at its page on the advertisement server, the top one first.
    void NavigatePanels();
};
