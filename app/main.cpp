#include "VersionLabel.h"
#include <windows.h>
#include <cstdio>
#include <vector>

namespace {

const wchar_t kTitle[] = L"Kelvadi2.0正式版 www.kelvadi.com";

CString ModulePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return CString();
        if (n < buffer.size()) return CString(buffer.data(), static_cast<int>(n));
        buffer.resize(buffer.size() * 2);
    }
}

CString AppName()
{
    CString path = ModulePath();
    CString name = path.Mid(path.ReverseFind(L'\\') + 1);
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

// The profile functions keep a file Unicode only when it already starts with a UTF-16 byte-order mark;
// creating it so keeps "当前版本" intact under code pages that lack Chinese.
void CreateUnicodeIniIfMissing(const CString& path)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const BYTE bom[2] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(file, bom, sizeof bom, &written, nullptr);
    CloseHandle(file);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        CString gameDir = GetDirectoryOfPath(ModulePath());
        SetWindowTextW(dialog, kTitle);
        if (GetFileAttributesW(gameDir + L"\\war3.exe") == INVALID_FILE_ATTRIBUTES) {
            MessageBoxW(dialog, CString(L"请把程序放到魔兽安装目录后使用！") + gameDir, AppName(), 0);
            ExitProcess(0);
        }
        CString label = DetectInstalledVersion(gameDir + L"\\game.dll");
        SetWindowLongW(dialog, GWL_STYLE, GetWindowLongW(dialog, GWL_STYLE) | WS_SYSMENU | WS_MINIMIZEBOX);
        CString ini = gameDir + L"\\wargame.ini";
        wchar_t stored[260] = L"";
        GetPrivateProfileStringW(L"GameMain", L"BanBen", L"", stored, 260, ini);
        CString versionText(stored);
        if (versionText.IsEmpty()) {
            CreateUnicodeIniIfMissing(ini);
            WritePrivateProfileStringW(L"GameMain", L"BanBen", label, ini);
            SetDlgItemTextW(dialog, 1021, label);
        } else {
            SetDlgItemTextW(dialog, 1021, versionText);
        }
        RECT rc;
        GetWindowRect(dialog, &rc);
        int x = (GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2;
        int y = (GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)) / 2;
        SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;
    }
    case WM_COMMAND:
        // Enter, Escape and Alt+F4 arrive as IDOK/IDCANCEL and must leave the window open.
        if (LOWORD(wParam) == 1001) EndDialog(dialog, IDCANCEL);
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
