#include "framework/CDialog.h"
#include "framework/CWinApp.h"

void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
    if (!exchange || !exchange->m_pDlgWnd || control.m_hWnd) return;
    HWND item = ::GetDlgItem(exchange->m_pDlgWnd->m_hWnd, id);
    if (item) control.SubclassWindow(item);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(unsigned int templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal()
{
    // One window per object: a second one could not be bound, and the first must stay bound.
    if (m_hWnd) return -1;
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(m_nIDTemplate), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    std::vector<unsigned char> kept;
    if (!data || !SplitDialogTemplate(data, SizeofResource(instance, found), kept, m_setAsideItems)) return -1;

    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    AfxHookWindowCreate(this);
    INT_PTR result = DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(kept.data()), parent,
                                             AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    // The window is gone; a failed creation may have left the binding behind.
    if (m_hWnd) UnsubclassWindow();
    return result;
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
    if (m_hWnd) ::EndDialog(m_hWnd, result);
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

bool CDialog::HandleInitDialog()
{
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
