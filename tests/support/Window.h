#pragma once
#include "Wait.h"
#include <windows.h>
#include <string>
#include <vector>

// A non-owning view of a window of another process: reads its state and drives it by messages.
// Every action is posted, never sent, so a handler that opens a modal box cannot block the driver;
// every read that needs the owner's thread is bounded by a timeout.
class Window {
public:
    Window() = default;
    explicit Window(HWND handle) : handle_(handle) {}

    HWND Handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    bool Exists() const { return handle_ && IsWindow(handle_); }

    // WM_GETTEXT through the owner's thread (so edit controls read right); when that thread does not
    // answer within timeoutMs, the text the system keeps for the window.
    std::wstring Text(DWORD timeoutMs = 2000) const;
    std::wstring ClassName() const;
    int Id() const;
    DWORD ProcessId() const;
    DWORD ThreadId() const;
    RECT Rect() const;        // screen coordinates; empty when the window is gone
    RECT ClientRect() const;  // client coordinates: left and top are 0
    LONG Style() const;
    LONG ExStyle() const;
    bool HasStyle(LONG bits) const { return (Style() & bits) == bits; }
    bool IsVisible() const;
    bool IsEnabled() const;

    Window Control(int id) const;           // GetDlgItem
    std::vector<Window> Children() const;   // direct children, in Z order
    Window Owner() const;
    Window Parent() const;
    // The control holding the keyboard focus in this window's thread, or the window itself.
    Window FocusedControl() const;

    bool WaitForText(const std::wstring& text, DWORD timeoutMs = kDefaultTimeoutMs) const;

    // Posts BM_CLICK: the button's own click path (press, release, BN_CLICKED to its parent).
    bool Click() const;
    // Posts WM_COMMAND with BN_CLICKED from control id to this window, as a button click would send.
    bool Command(int id) const;
    // Posts WM_KEYDOWN and WM_KEYUP for vk to the focused control; a dialog's modal loop gives them
    // to IsDialogMessage, which turns Enter into IDOK (the default button) and Escape into IDCANCEL.
    bool PressKey(UINT vk) const;
    bool PressEnter() const { return PressKey(VK_RETURN); }
    bool PressEscape() const { return PressKey(VK_ESCAPE); }
    // Posts Alt+F4 as the keyboard delivers it (WM_SYSKEYDOWN VK_F4 with the Alt bit) to the focused
    // control: exercises DefWindowProc's own Alt+F4 handling, which then posts SC_CLOSE to the top window.
    bool PressAltF4() const;
    // Posts WM_SYSCOMMAND SC_CLOSE to this window: the title bar's close button and the system menu's
    // Close; DefWindowProc turns it into WM_CLOSE, which a dialog turns into IDCANCEL.
    bool SendClose() const;

    // One line naming the window (handle, class, id, caption, visibility), for failure messages.
    std::wstring Describe() const;

    // Top-level windows of a process, in Z order; only visible ones unless visibleOnly is false.
    static std::vector<Window> TopLevelWindowsOf(DWORD processId, bool visibleOnly = true);

private:
    HWND handle_ = nullptr;
};
