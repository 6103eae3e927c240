#include "MessageBoxWatcher.h"

namespace {
MessageBoxWatcher* g_watcher = nullptr;

BOOL CALLBACK FindBox(HWND hWnd, LPARAM result)
{
    wchar_t name[16] = L"";
    GetClassNameW(hWnd, name, 16);
    if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(hWnd) && GetDlgItem(hWnd, 0xFFFF)) {
        *reinterpret_cast<HWND*>(result) = hWnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindIcon(HWND hWnd, LPARAM found)
{
    wchar_t name[16] = L"";
    GetClassNameW(hWnd, name, 16);
    if (lstrcmpiW(name, L"Static") == 0 && IsWindowVisible(hWnd) &&
        (GetWindowLongPtrW(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        // Wine keeps the icon control of a box without an icon, only empty.
        *reinterpret_cast<bool*>(found) = SendMessageW(hWnd, STM_GETICON, 0, 0) != 0;
        return FALSE;
    }
    return TRUE;
}

CString TextOf(HWND hWnd)
{
    wchar_t buffer[1024] = L"";
    GetWindowTextW(hWnd, buffer, 1024);
    return buffer;
}
} // namespace

MessageBoxWatcher::MessageBoxWatcher()
{
    g_watcher = this;
    m_timer = SetTimer(nullptr, 0, 20, &MessageBoxWatcher::OnTimer);
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    KillTimer(nullptr, m_timer);
    g_watcher = nullptr;
}

void CALLBACK MessageBoxWatcher::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_watcher) return;
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    ++g_watcher->seen;
    g_watcher->caption = TextOf(box);
    g_watcher->text = TextOf(GetDlgItem(box, 0xFFFF));
    g_watcher->hasIcon = false;
    EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&g_watcher->hasIcon));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}
