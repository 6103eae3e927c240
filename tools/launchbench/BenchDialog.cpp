// The floor of the launch benchmark: an empty dialog of the launcher's template size and font,
// centred and shown as the launcher's is, that answers command 1018 with a message box of the
// launcher's confirmation text. Built with LAUNCHER_TEMPLATE, the second floor: the launcher's own
// template with its buttons, labels and pictures, its manifest and common controls, but without
// the launcher's work; its ActiveX items are set aside as the launcher sets them aside.
#include <windows.h>
#ifdef LAUNCHER_TEMPLATE
#include "framework/DialogTemplate.h"
#include "framework/ResourceData.h"
#include "resource.h"
#include <commctrl.h>
#endif

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
#ifdef LAUNCHER_TEMPLATE
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    unsigned long size = 0;
    const void* data = LoadResourceData(instance, MAKEINTRESOURCEW(IDD_VORELIN_DIALOG), RT_DIALOG, &size);
    std::vector<unsigned char> kept;
    std::vector<DialogTemplateItem> setAside;
    if (!data || !SplitDialogTemplate(data, size, kept, setAside)) return 1;
    DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(kept.data()), nullptr, DialogProc, 0);
#else
    DialogBoxParamW(instance, MAKEINTRESOURCEW(102), nullptr, DialogProc, 0);
#endif
    return 0;
}
