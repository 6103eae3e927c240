#pragma once
#include "MessageBoxWindow.h"
#include <windows.h>
#include <algorithm>
#include <string>

// Answers the next message box this thread shows, recording what it showed.
// A timer of the thread fires inside the box's own message loop.
struct MessageBoxWatcher {
    int seen = 0;
    std::wstring caption, text;
    bool hasIcon = false;
    HICON icon = nullptr;
    HWND owner = nullptr;
    bool hasCancel = false;

    MessageBoxWatcher() { Current() = this; }
    ~MessageBoxWatcher() { KillTimer(nullptr, timer); Current() = nullptr; }
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

private:
    UINT_PTR timer = SetTimer(nullptr, 0, 20, &OnTimer);
    static MessageBoxWatcher*& Current() { static MessageBoxWatcher* current = nullptr; return current; }

    static BOOL CALLBACK FindBox(HWND h, LPARAM result)
    {
        if (!IsWindowVisible(h) || !MessageBoxWindow::IsMessageBox(Window(h))) return TRUE;
        *reinterpret_cast<HWND*>(result) = h;
        return FALSE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&found));
        MessageBoxWatcher* watcher = Current();
        if (!watcher || !found) return;
        MessageBoxWindow box{Window(found)};
        ++watcher->seen;
        watcher->caption = box.Caption();
        watcher->text = box.Text();
        watcher->icon = box.IconHandle();
        watcher->hasIcon = watcher->icon != nullptr;
        watcher->owner = box.AsWindow().Owner().Handle();
        std::vector<int> buttons = box.ButtonIds();
        watcher->hasCancel = std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end();
        box.Press(IDOK);
    }
};
