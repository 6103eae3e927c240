#pragma once
#include "Window.h"
#include <string>
#include <vector>

enum class MessageBoxIcon { None, Error, Question, Warning, Information, Unknown };
const wchar_t* MessageBoxIconName(MessageBoxIcon icon);

// Reads and answers a message box of another process: a "#32770" dialog whose message text is the
// static control with id 0xFFFF.
class MessageBoxWindow {
public:
    static constexpr int kTextId = 0xFFFF;

    explicit MessageBoxWindow(const Window& window) : window_(window) {}
    static bool IsMessageBox(const Window& window);

    const Window& AsWindow() const { return window_; }
    std::wstring Caption() const { return window_.Text(); }
    std::wstring Text() const { return window_.Control(kTextId).Text(); }
    // Ids of the box's buttons (IDOK, IDCANCEL, IDYES, ...), in Z order.
    std::vector<int> ButtonIds() const;

    // False when the box's icon control is missing or empty.
    bool HasIcon() const;
    // The icon the box shows, or null; a handle of the box's process, comparable only within it.
    HICON IconHandle() const;
    // None when the box shows no icon. Otherwise the system icon it shows, found by comparing the
    // icon's pixels on screen with each system icon drawn here; Unknown when none matches within
    // timeoutMs (a box not painted yet is retried until then).
    MessageBoxIcon Icon(DWORD timeoutMs = 2000) const;

    // Posts WM_COMMAND with the button's id to the box, as that button's click would; false when the
    // box has no such button or is gone.
    bool Press(int buttonId = IDOK) const;
    // True once the box has been destroyed or hidden.
    bool WaitUntilClosed(DWORD timeoutMs = kDefaultTimeoutMs) const;

private:
    Window IconControl() const;

    Window window_;
};
