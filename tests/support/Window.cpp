#include "Window.h"
#include <new>

namespace {

struct TopLevelSearch {
    DWORD processId;
    bool visibleOnly;
    std::vector<Window>* found;
};

BOOL CALLBACK CollectTopLevel(HWND handle, LPARAM param)
{
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(handle, &owner);
    if (owner != search->processId) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(handle)) return TRUE;
    // Nothing may unwind through EnumWindows.
    try {
        search->found->push_back(Window(handle));
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

bool PostKey(HWND target, UINT down, UINT up, UINT vk, LPARAM flags)
{
    UINT scan = MapVirtualKeyW(vk, 0);
    LPARAM base = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16) | flags;
    // Release: previous-state and transition bits set.
    LPARAM release = base | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    if (!PostMessageW(target, down, vk, base)) return false;
    // The key-down alone may close the window (Enter on a message box) before the key-up is posted;
    // the key was still delivered.
    PostMessageW(target, up, vk, release);
    return true;
}

} // namespace

std::wstring Window::Text(DWORD timeoutMs) const
{
    if (!Exists()) return std::wstring();
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(handle_, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &length)) {
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (SendMessageTimeoutW(handle_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                                SMTO_ABORTIFHUNG, timeoutMs, &copied)) {
            text.resize(copied < length ? copied : length);
            return text;
        }
    }
    // For another process's window this reads the system's copy and sends nothing.
    wchar_t buffer[1024] = L"";
    int n = GetWindowTextW(handle_, buffer, 1024);
    return std::wstring(buffer, n > 0 ? n : 0);
}

std::wstring Window::ClassName() const
{
    wchar_t buffer[256] = L"";
    int n = handle_ ? GetClassNameW(handle_, buffer, 256) : 0;
    return std::wstring(buffer, n > 0 ? n : 0);
}

int Window::Id() const
{
    return handle_ ? GetDlgCtrlID(handle_) : 0;
}

DWORD Window::ProcessId() const
{
    DWORD process = 0;
    if (handle_) GetWindowThreadProcessId(handle_, &process);
    return process;
}

DWORD Window::ThreadId() const
{
    return handle_ ? GetWindowThreadProcessId(handle_, nullptr) : 0;
}

RECT Window::Rect() const
{
    RECT rect = {0, 0, 0, 0};
    if (!handle_ || !GetWindowRect(handle_, &rect)) SetRectEmpty(&rect);
    return rect;
}

RECT Window::ClientRect() const
{
    RECT rect = {0, 0, 0, 0};
    if (!handle_ || !GetClientRect(handle_, &rect)) SetRectEmpty(&rect);
    return rect;
}

LONG Window::Style() const
{
    return handle_ ? GetWindowLongW(handle_, GWL_STYLE) : 0;
}

LONG Window::ExStyle() const
{
    return handle_ ? GetWindowLongW(handle_, GWL_EXSTYLE) : 0;
}

bool Window::IsVisible() const
{
    return handle_ && IsWindowVisible(handle_);
}

bool Window::IsEnabled() const
{
    return handle_ && IsWindowEnabled(handle_);
}

Window Window::Control(int id) const
{
    return Window(handle_ ? GetDlgItem(handle_, id) : nullptr);
}

std::vector<Window> Window::Children() const
{
    std::vector<Window> children;
    if (!handle_) return children;
    // Bounded: a window list that changes under the walk cannot make it loop.
    HWND child = GetWindow(handle_, GW_CHILD);
    for (int i = 0; child && i < 10000; ++i) {
        children.push_back(Window(child));
        child = GetWindow(child, GW_HWNDNEXT);
    }
    return children;
}

Window Window::Owner() const
{
    return Window(handle_ ? GetWindow(handle_, GW_OWNER) : nullptr);
}

Window Window::Parent() const
{
    return Window(handle_ ? GetAncestor(handle_, GA_PARENT) : nullptr);
}

Window Window::FocusedControl() const
{
    if (!Exists()) return Window();
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    // GetFocus only sees the caller's own thread; this asks about the window's thread.
    if (GetGUIThreadInfo(ThreadId(), &info) && info.hwndFocus &&
        (info.hwndFocus == handle_ || IsChild(handle_, info.hwndFocus)))
        return Window(info.hwndFocus);
    return *this;
}

bool Window::WaitForText(const std::wstring& text, DWORD timeoutMs) const
{
    return WaitUntil([&] { return Text() == text; }, timeoutMs);
}

bool Window::Click() const
{
    return Exists() && PostMessageW(handle_, BM_CLICK, 0, 0);
}

bool Window::Command(int id) const
{
    if (!Exists()) return false;
    HWND control = GetDlgItem(handle_, id);
    return PostMessageW(handle_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

bool Window::PressKey(UINT vk) const
{
    if (!Exists()) return false;
    return PostKey(FocusedControl().Handle(), WM_KEYDOWN, WM_KEYUP, vk, 0);
}

bool Window::PressAltF4() const
{
    if (!Exists()) return false;
    const LPARAM altDown = static_cast<LPARAM>(1) << 29;
    HWND target = FocusedControl().Handle();
    return PostKey(target, WM_SYSKEYDOWN, WM_SYSKEYUP, VK_F4, altDown);
}

bool Window::SendClose() const
{
    return Exists() && PostMessageW(handle_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::wstring Window::Describe() const
{
    if (!handle_) return L"(no window)";
    wchar_t head[64];
    wsprintfW(head, L"%p", static_cast<void*>(handle_));
    if (!IsWindow(handle_)) return std::wstring(head) + L" (destroyed)";
    return std::wstring(head) + L" class=\"" + ClassName() + L"\" id=" + std::to_wstring(Id()) + L" text=\"" +
           Text(500) + L"\"" + (IsVisible() ? L" visible" : L" hidden");
}

std::vector<Window> Window::TopLevelWindowsOf(DWORD processId, bool visibleOnly)
{
    std::vector<Window> found;
    TopLevelSearch search = {processId, visibleOnly, &found};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return found;
}
