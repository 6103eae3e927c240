#include "MessageBoxWindow.h"
#include <cstdlib>
#include <vector>

namespace {

// A 32-bit top-down DIB section and the memory DC that selects it.
class DibCanvas {
public:
    DibCanvas(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels_ = static_cast<DWORD*>(bits);
        if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
    }
    ~DibCanvas()
    {
        if (old_) SelectObject(dc_, old_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    bool IsValid() const { return old_ && pixels_; }
    HDC Dc() const { return dc_; }
    DWORD Pixel(int x, int y) const { return pixels_[y * width_ + x] & 0xFFFFFF; }
    void Fill(DWORD colour)
    {
        for (int i = 0; i < width_ * height_; ++i) pixels_[i] = colour;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    DWORD* pixels_ = nullptr;
};

bool Near(DWORD a, DWORD b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 24)
            return false;
    return true;
}

// Share of pixels where the icon drawn here over the screen's corner colour differs from the screen.
double Mismatch(const DibCanvas& screen, int width, int height, LPCWSTR iconId)
{
    HICON icon = LoadIconW(nullptr, iconId);
    if (!icon) return 1.0;
    DibCanvas drawn(width, height);
    if (!drawn.IsValid()) return 1.0;
    drawn.Fill(screen.Pixel(0, 0));
    if (!DrawIconEx(drawn.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL)) return 1.0;
    int differing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!Near(screen.Pixel(x, y), drawn.Pixel(x, y))) ++differing;
    return static_cast<double>(differing) / (width * height);
}

MessageBoxIcon MatchIcon(const Window& control)
{
    RECT rect = control.Rect();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || width > 256 || height > 256) return MessageBoxIcon::Unknown;
    DibCanvas screen(width, height);
    if (!screen.IsValid()) return MessageBoxIcon::Unknown;
    HDC desktop = GetDC(nullptr);
    if (!desktop) return MessageBoxIcon::Unknown;
    BOOL copied = BitBlt(screen.Dc(), 0, 0, width, height, desktop, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, desktop);
    if (!copied) return MessageBoxIcon::Unknown;

    struct Candidate { LPCWSTR id; MessageBoxIcon icon; };
    const Candidate candidates[] = {
        {IDI_HAND, MessageBoxIcon::Error},
        {IDI_QUESTION, MessageBoxIcon::Question},
        {IDI_EXCLAMATION, MessageBoxIcon::Warning},
        {IDI_ASTERISK, MessageBoxIcon::Information},
    };
    MessageBoxIcon best = MessageBoxIcon::Unknown;
    double bestMismatch = 0.05;
    for (const Candidate& candidate : candidates) {
        double mismatch = Mismatch(screen, width, height, candidate.id);
        if (mismatch < bestMismatch) {
            bestMismatch = mismatch;
            best = candidate.icon;
        }
    }
    return best;
}

} // namespace

const wchar_t* MessageBoxIconName(MessageBoxIcon icon)
{
    switch (icon) {
    case MessageBoxIcon::None: return L"none";
    case MessageBoxIcon::Error: return L"error";
    case MessageBoxIcon::Question: return L"question";
    case MessageBoxIcon::Warning: return L"warning";
    case MessageBoxIcon::Information: return L"information";
    case MessageBoxIcon::Unknown: break;
    }
    return L"unknown";
}

bool MessageBoxWindow::IsMessageBox(const Window& window)
{
    if (window.ClassName() != L"#32770") return false;
    Window text = window.Control(kTextId);
    return text && text.Parent().Handle() == window.Handle() && _wcsicmp(text.ClassName().c_str(), L"Static") == 0;
}

std::vector<int> MessageBoxWindow::ButtonIds() const
{
    std::vector<int> ids;
    for (const Window& child : window_.Children())
        if (_wcsicmp(child.ClassName().c_str(), L"Button") == 0 && child.IsVisible()) ids.push_back(child.Id());
    return ids;
}

Window MessageBoxWindow::IconControl() const
{
    for (const Window& child : window_.Children())
        if (_wcsicmp(child.ClassName().c_str(), L"Static") == 0 && child.IsVisible() &&
            (child.Style() & SS_TYPEMASK) == SS_ICON)
            return child;
    return Window();
}

bool MessageBoxWindow::HasIcon() const
{
    return IconHandle() != nullptr;
}

HICON MessageBoxWindow::IconHandle() const
{
    Window control = IconControl();
    // Wine keeps the icon control of a box without an icon, only empty. The handle is just a
    // number to another process, but whether it is null says enough.
    DWORD_PTR handle = 0;
    if (!control || !SendMessageTimeoutW(control.Handle(), STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &handle))
        return nullptr;
    return reinterpret_cast<HICON>(handle);
}

MessageBoxIcon MessageBoxWindow::Icon(DWORD timeoutMs) const
{
    if (!HasIcon()) return MessageBoxIcon::None;
    Window control = IconControl();
    MessageBoxIcon icon = MessageBoxIcon::Unknown;
    WaitUntil(
        [&] {
            icon = MatchIcon(control);
            return icon != MessageBoxIcon::Unknown || !control.Exists();
        },
        timeoutMs, 50);
    return icon;
}

bool MessageBoxWindow::Press(int buttonId) const
{
    if (!window_.Exists()) return false;
    Window button = window_.Control(buttonId);
    if (!button) return false;
    return PostMessageW(window_.Handle(), WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button.Handle()));
}

bool MessageBoxWindow::WaitUntilClosed(DWORD timeoutMs) const
{
    return WaitUntil([&] { return !window_.Exists() || !window_.IsVisible(); }, timeoutMs);
}
