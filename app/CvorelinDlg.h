#pragma once
#include "framework/CBitmap.h"
#include "framework/CBrush.h"
#include "framework/CDialogEx.h"
#include "framework/CHandle.h"
#include "framework/CStatic.h"
#include "framework/CString.h"
#include "res/resource.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinEdit.h"
#include "skin/CSkinPicture.h"
#include "skin/CSkinStatic.h"
#include "skin/KeyedPicture.h"
#include "switching/VersionVariant.h"
#include "web/CWebBrowser2.h"

// The launcher's one window: owns every control object, the pictures and the game directory.
class CvorelinDlg : public CDialogEx {
public:
    enum { IDD = IDD_VORELIN_DIALOG };

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
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int width, int height);
    void OnLButtonDown(UINT flags, POINT point);
    void OnCloseButton();
    void OnMinimizeButton();
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    void OnStartGame();
    void OnOpenHomePage();
    void OnSwitch120E();
    void OnSwitch124E();
    void OnSwitch126();
    void OnSwitch120E4M();
    void OnSwitch124E8M();
    // The switch with its boxes; true when every file of the variant is in place. Only a switch
    // the player asked for ends in the confirmation.
    bool SwitchTo(const VersionVariant& variant, bool confirm = true);

public:
    // A replay to open once the window is up, as Explorer's Open passes it.
    void OpenReplayAtStart(const CString& path) { m_strReplayAtStart = path; }

protected:
    // The round trip: the replay's version switched in (when the installed one cannot play it),
    // the game started on the replay, and the earlier version back once the game ends.
    void OpenReplay(const CString& path);
    // Goes back to the version installed before the replay and removes what the trip left; false,
    // with the boxes shown, when the switch back did not complete.
    bool EndReplayTrip();
    void OnTimer(UINT_PTR id);
    LRESULT OnContextMenuMessage(WPARAM, LPARAM);
    LRESULT OnDropFiles(WPARAM, LPARAM);
    // A round trip left unfinished by a launcher ended while its game ran.
    void OfferToEndEarlierTrip();

    // Shapes the window after the picture and records its size; releases dc, a context of this window.
    void ApplyBitmapRegion(CBitmap* bitmap, CDC* dc);
    void PlaceButtons();
    void PlacePictures();
    void PlacePanels();
    void StyleLabels();

    HICON m_hIcon;
    unsigned int m_nSkinWidth = 0;
    unsigned int m_nSkinHeight = 0;
    CBitmap m_bmpBackground;
    // The background as the window's erasing draws it, the key colour left out.
    KeyedPicture m_keyedBackground;
    CWebBrowser2 m_webTop;
    CWebBrowser2 m_webBottom;
    CSkinButton m_btnClose;
    CSkinButton m_btnMinimize;
    CSkinButton m_btnStart;
    CSkinButton m_btn120E;
    CSkinButton m_btn124E;
    CSkinButton m_btn126;
    CSkinButton m_btn120E4M;
    CSkinButton m_btn124E8M;
    CSkinButton m_btnMaps;
    CSkinStatic m_stTitle;
    CSkinStatic m_stHomePage;
    CSkinStatic m_stLastRun;
    CSkinStatic m_stVersion;
    CString m_strGameDir;
    CString m_strVersionText;
    CSkinStatic m_stRunCount;
    CSkinEdit m_editSkin;
    CSkinPicture m_picTop;
    CSkinPicture m_picBottom;
    // Handed out for every control-colour request, so it must outlive every paint.
    CBrush m_brushWhite{RGB(255, 255, 255)};

    DECLARE_MESSAGE_MAP()

private:
    void OnSetAsideItemsCreated() override;
    // Points each web panel at its page on the advertisement server, the top one first.
    void NavigatePanels();
    // The label the files bear out, recorded where it differs from the record and the folder's lock
    // is held; a recorded version whose files are not all its own leaves a word for the user in m_strRepairNotice.
    CString DecideLabel(const CString& record, bool mayRecord);
    void ShowLabel(const CString& label);
    // Asks to remove VirtualStore copies that would hide the game folder's files from the game.
    void CheckVirtualStore();
    // After the window is up: what start-up found to tell.
    LRESULT OnStartupNotices(WPARAM, LPARAM);
    // Once the window is up: the foreground that start-up asked for.
    LRESULT OnForeground(WPARAM, LPARAM);

    CString m_strRepairNotice;
    CString m_strRecoveryNotice;
    CString m_strShownLabel;
    CString m_strReplayAtStart;
    // The game playing a replay, and the version to go back to after it (null: nothing was switched).
    CHandle m_game;
    const VersionVariant* m_tripEarlier = nullptr;
};
