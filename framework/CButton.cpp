#include "framework/CButton.h"

bool CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *result = TRUE;
    return true;
}

void CButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    // A button whose object draws nothing of its own still shows as a plain push button.
    if (!item) return;
    RECT face = item->rcItem;
    UINT state = DFCS_BUTTONPUSH | ((item->itemState & ODS_SELECTED) ? DFCS_PUSHED : 0);
    ::DrawFrameControl(item->hDC, &face, DFC_BUTTON, state);
    CString text = GetWindowText();
    int mode = ::SetBkMode(item->hDC, TRANSPARENT);
    ::DrawTextW(item->hDC, text, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SetBkMode(item->hDC, mode);
}
