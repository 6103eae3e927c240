#include "framework/CDialog.h"
#include "framework/COccManager.h"
#include "framework/COleControlContainer.h"
#include "framework/COleControlSite.h"
#include "framework/CWinApp.h"
#include "framework/ResourceData.h"

namespace {

// The dialog-initialisation resource type.
const wchar_t* const kDlgInitType = MAKEINTRESOURCEW(240);

} // namespace

void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
    if (!exchange || !exchange->m_pDlgWnd || control.m_hWnd || control.m_pCtrlSite) return;
    CWnd* dialog = exchange->m_pDlgWnd;
    HWND item = ::GetDlgItem(dialog->m_hWnd, id);
    COleControlSite* site = dialog->m_pCtrlCont ? dialog->m_pCtrlCont->FindSite(static_cast<UINT>(id)) : nullptr;
    if (item) control.SubclassWindow(item);
    if (site) {
        control.m_pCtrlSite = site;
        site->m_pWndCtrl = &control;
    }
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

CDialog::CDialog(unsigned int templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal()
{
    // One window per object: a second one could not be bound, and the first must stay bound.
    if (m_hWnd) return -1;
    HINSTANCE instance = AfxGetResourceHandle();
    const wchar_t* name = MAKEINTRESOURCEW(m_nIDTemplate);
    unsigned long size = 0;
    const void* data = LoadResourceData(instance, name, RT_DIALOG, &size);
    std::vector<unsigned char> kept;
    if (!data || !SplitDialogTemplate(data, size, kept, m_setAsideItems)) return -1;
    unsigned long initSize = 0;
    const void* init = LoadResourceData(instance, name, kDlgInitType, &initSize);
    if (!init || !ParseDialogInit(init, initSize, m_dlgInitRecords)) m_dlgInitRecords.clear();

    // The owner is disabled before the dialog exists, as the system's own modal dialogs do.
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    const bool parentWasEnabled = parent && ::IsWindowEnabled(parent);
    if (parentWasEnabled) ::EnableWindow(parent, FALSE);

    m_bContinueModal = true;
    m_nModalResult = -1;
    AfxHookWindowCreate(this);
    HWND dialog = CreateDialogIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(kept.data()), parent,
                                             AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    INT_PTR result = -1;
    if (dialog) {
        if (m_bContinueModal && !::IsWindowVisible(dialog)) ::ShowWindow(dialog, SW_SHOWNORMAL);
        if (!m_bContinueModal || RunModalLoop()) result = m_nModalResult;
        // Hidden before the owner comes back, so that activation returns to the owner.
        if (::IsWindow(dialog))
            ::SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (parentWasEnabled) ::EnableWindow(parent, TRUE);
    if (parent && ::GetActiveWindow() == dialog) ::SetActiveWindow(parent);
    if (dialog && ::IsWindow(dialog)) ::DestroyWindow(dialog);
    m_bContinueModal = false;
    // The window is gone; a failed creation may have left the binding behind.
    if (m_hWnd) UnsubclassWindow();
    return result;
}

bool CDialog::RunModalLoop()
{
    HWND dialog = m_hWnd;
    MSG message;
    while (m_bContinueModal && ::IsWindow(dialog)) {
        // Pending paints keep the queue busy, so an empty queue means the window is complete.
        if (m_bSetAsideItemsPending && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            ::SendMessageW(dialog, WM_KICKIDLE, MSGF_DIALOGBOX, 0);
            m_bSetAsideItemsPending = false;
            continue;
        }
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // The quit is for the application's loop; it is posted again for that one.
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (!WalkPreTranslateTree(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

BOOL CDialog::PreTranslateMessage(MSG* message)
{
    if (m_pCtrlCont && m_pCtrlCont->TranslateAccelerator(message)) return TRUE;
    return m_hWnd && ::IsDialogMessageW(m_hWnd, message);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result)
{
    if (!m_hWnd) return;
    m_nModalResult = result;
    m_bContinueModal = false;
    // Wakes the loop even when nothing else is queued.
    PostMessage(WM_NULL);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return true;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The dialog class's own procedure (the dialog manager) is the default here.
    if (m_pfnSuper) return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefDlgProcW(m_hWnd, message, wParam, lParam);
}

void CDialog::CreateSetAsideItems()
{
    if (COccManager* manager = AfxGetOccManager())
        if (!m_setAsideItems.empty()) manager->CreateDlgControls(this, m_setAsideItems, m_dlgInitRecords);
}

LRESULT CDialog::OnKickIdle(WPARAM, LPARAM)
{
    if (!m_bSetAsideItemsPending) return 0;
    m_bSetAsideItemsPending = false;
    CreateSetAsideItems();
    // Binds only what the first exchange could not find.
    UpdateData(false);
    OnSetAsideItemsCreated();
    return 0;
}

bool CDialog::HandleInitDialog()
{
    // Unless held back, the template's ActiveX items come first, so that data exchange finds them.
    m_bSetAsideItemsPending = m_bDeferSetAsideItems && !m_setAsideItems.empty();
    if (!m_bSetAsideItemsPending) CreateSetAsideItems();
    RECT before;
    GetWindowRect(&before);
    BOOL focusDefault = OnInitDialog();
    RECT after;
    GetWindowRect(&after);
    if (m_hWnd && before.left == after.left && before.top == after.top) CenterWindow();
    return focusDefault != FALSE;
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) return FALSE;
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (!dialog) return TRUE;
    try {
        return dialog->HandleInitDialog() ? TRUE : FALSE;
    } catch (...) {
        AfxReportCurrentException();
        return TRUE;
    }
}
