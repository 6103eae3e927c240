#pragma once
#include "framework/CString.h"
#include <windows.h>

// Answers the next message box this thread shows, recording its caption, text and icon.
// A timer of the thread fires inside the box's own message loop.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    int seen = 0;
    CString caption;
    CString text;
    bool hasIcon = false;
    HICON icon = nullptr;
    HWND owner = nullptr;
    bool hasCancel = false;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR m_timer;
};
