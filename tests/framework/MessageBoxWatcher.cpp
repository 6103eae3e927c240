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
        *reinterpret_cast<HWND*>(found) = hWnd;
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
    HWND icon = nullptr;
    EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&icon));
    g_watcher->hasIcon = icon != nullptr;
    g_watcher->icon = icon ? reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)) : nullptr;
    g_watcher->owner = GetWindow(box, GW_OWNER);
    g_watcher->hasCancel = GetDlgItem(box, IDCANCEL) && IsWindowVisible(GetDlgItem(box, IDCANCEL));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}
