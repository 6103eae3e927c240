// The floor of the launch benchmark: an empty dialog of the launcher's template size and font,
// centred and shown as the launcher's is, that answers command 1018 with a message box of the
// launcher's confirmation text.
#include <windows.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        RECT window, area;
        GetWindowRect(dialog, &window);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        SetWindowPos(dialog, nullptr, (area.left + area.right - (window.right - window.left)) / 2,
                     (area.top + area.bottom - (window.bottom - window.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowTextW(dialog, L"benchdialog");
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == 1018)
            MessageBoxW(dialog, L"版本转换成功，当前版本为：1.20E", L"版本转换成功提示", 0);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    DialogBoxParamW(instance, MAKEINTRESOURCEW(102), nullptr, DialogProc, 0);
    return 0;
}
