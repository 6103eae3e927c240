#pragma once
#include "framework/CWnd.h"
#include "framework/DialogTemplate.h"
#include <vector>

// Direction and target of a data exchange; this layer exchanges controls only.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate;
};

// What the modal loop sends its dialog when the queue has run dry and held-back controls wait.
constexpr UINT WM_KICKIDLE = 0x036A;

// Binds the template control with this id to the member by subclassing; a missing control leaves it unbound.
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);

// A modal dialog run from a template resource.
class CDialog : public CWnd {
public:
    explicit CDialog(unsigned int templateId, CWnd* parent = nullptr);

    // Runs the dialog; its EndDialog result, or -1 when the template cannot be loaded.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);
    bool UpdateData(bool saveAndValidate = true);

    // The template's ActiveX items, which the dialog manager was not asked to create.
    const std::vector<DialogTemplateItem>& GetSetAsideItems() const { return m_setAsideItems; }
    // The in-place active control's accelerators first, then the dialog's own keys.
    BOOL PreTranslateMessage(MSG* message) override;

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    // Runs once held-back ActiveX items have been created and bound (see m_bDeferSetAsideItems).
    virtual void OnSetAsideItemsCreated() {}
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleInitDialog();
    LRESULT OnKickIdle(WPARAM, LPARAM);
    void CreateSetAsideItems();

    // Runs until EndDialog or the window's end; false when WM_QUIT came first.
    bool RunModalLoop();

    unsigned int m_nIDTemplate;
    CWnd* m_pParentWnd;
    std::vector<DialogTemplateItem> m_setAsideItems;
    std::vector<DialogInitRecord> m_dlgInitRecords;
    bool m_bContinueModal = false;
    INT_PTR m_nModalResult = -1;
    // Set before DoModal: the template's ActiveX items are created only when the modal loop first
    // finds nothing left to do, so the window is shown and painted without waiting for them.
    bool m_bDeferSetAsideItems = false;
    bool m_bSetAsideItemsPending = false;

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
