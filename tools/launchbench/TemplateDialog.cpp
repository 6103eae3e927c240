// The second floor of the launch benchmark: the launcher's own dialog template with its buttons,
// labels and pictures, its manifest and common controls, shown and centred as the launcher's is,
// but without the launcher's work. Its ActiveX items are set aside as the launcher sets them aside.
#include "framework/DialogTemplate.h"
#include "framework/ResourceData.h"
#include "resource.h"
#include <windows.h>
#include <commctrl.h>

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
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    unsigned long size = 0;
    const void* data = LoadResourceData(instance, MAKEINTRESOURCEW(IDD_VORELIN_DIALOG), RT_DIALOG, &size);
    std::vector<unsigned char> kept;
    std::vector<DialogTemplateItem> setAside;
    if (!data || !SplitDialogTemplate(data, size, kept, setAside)) return 1;
    DialogBoxIndirectParamW(instance, reinterpret_cast<LPCDLGTEMPLATEW>(kept.data()), nullptr, DialogProc, 0);
    return 0;
}
