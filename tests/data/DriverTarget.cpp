// A small dialog program that the driver's own tests drive: it shows what it was sent, and its working
// folder, in its labels.
//   (no switch)            the dialog; Quit ends it with exit code 0
//   /code N                Quit ends the dialog with exit code N
//   /delay MS              waits MS milliseconds before showing the dialog
//   /spawn                 first starts another copy of itself, showing its dialog with /code 5
//   /exit N                ends at once with exit code N, showing nothing
//   /box CAPTION TEXT ICON BUTTONS   shows only a message box (ICON: none, error, question, warning,
//                          information; BUTTONS: ok, okcancel, yesno) and exits with its result
#include "DriverTarget.h"
#include <windows.h>
#include <shellapi.h>
#include <cwchar>
#include <string>

namespace {

int quitCode = 0;
int pressCount = 0;

void AppendEvent(HWND dialog, const wchar_t* event)
{
    wchar_t text[512] = L"";
    GetDlgItemTextW(dialog, IDC_EVENTS, text, 512);
    std::wstring events = std::wstring(text) + event + L";";
    SetDlgItemTextW(dialog, IDC_EVENTS, events.c_str());
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        SetDlgItemTextW(dialog, IDC_EDIT, L"编辑框");
        wchar_t folder[MAX_PATH] = L"";
        GetCurrentDirectoryW(MAX_PATH, folder);
        SetDlgItemTextW(dialog, IDC_FOLDER, folder);
        return TRUE;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) AppendEvent(dialog, L"SC_CLOSE");
        return FALSE;
    case WM_CLOSE:
        AppendEvent(dialog, L"WM_CLOSE");
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: AppendEvent(dialog, L"IDOK"); break;
        case IDCANCEL: AppendEvent(dialog, L"IDCANCEL"); break;
        case IDC_PRESS:
            SetDlgItemTextW(dialog, IDC_LABEL, (L"按了 " + std::to_wstring(++pressCount)).c_str());
            break;
        case IDC_BOX: {
            int result = MessageBoxW(dialog, L"目标的消息\n第二行", L"目标标题", MB_OKCANCEL | MB_ICONINFORMATION);
            SetDlgItemTextW(dialog, IDC_LABEL, (L"box " + std::to_wstring(result)).c_str());
            break;
        }
        case IDC_QUIT: EndDialog(dialog, quitCode); break;
        case IDC_STALL: Sleep(4000); break;
        }
        return TRUE;
    }
    return FALSE;
}

UINT IconFlag(const wchar_t* name)
{
    if (!wcscmp(name, L"error")) return MB_ICONERROR;
    if (!wcscmp(name, L"question")) return MB_ICONQUESTION;
    if (!wcscmp(name, L"warning")) return MB_ICONWARNING;
    if (!wcscmp(name, L"information")) return MB_ICONINFORMATION;
    return 0;
}

UINT ButtonsFlag(const wchar_t* name)
{
    if (!wcscmp(name, L"okcancel")) return MB_OKCANCEL;
    if (!wcscmp(name, L"yesno")) return MB_YESNO;
    return MB_OK;
}

void StartCopy()
{
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t commandLine[] = L"driver_target /code 5";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessW(self, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int delay = 0;
    for (int i = 1; argv && i < argc; ++i) {
        if (!wcscmp(argv[i], L"/exit") && i + 1 < argc) return _wtoi(argv[i + 1]);
        if (!wcscmp(argv[i], L"/code") && i + 1 < argc) quitCode = _wtoi(argv[++i]);
        else if (!wcscmp(argv[i], L"/delay") && i + 1 < argc) delay = _wtoi(argv[++i]);
        else if (!wcscmp(argv[i], L"/spawn")) StartCopy();
        else if (!wcscmp(argv[i], L"/box") && i + 4 < argc)
            return MessageBoxW(nullptr, argv[i + 2], argv[i + 1], IconFlag(argv[i + 3]) | ButtonsFlag(argv[i + 4]));
    }
    if (delay > 0) Sleep(static_cast<DWORD>(delay));
    return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_TARGET), nullptr, DialogProc, 0));
}
