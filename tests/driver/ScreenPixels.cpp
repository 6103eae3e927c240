#include "ScreenPixels.h"

ScreenPixels ScreenPixels::Capture(const RECT& screen)
{
    ScreenPixels shot;
    int width = screen.right - screen.left;
    int height = screen.bottom - screen.top;
    if (width <= 0 || height <= 0) return shot;
    HDC screenDc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screenDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screenDc, screen.left, screen.top, SRCCOPY)) {
            GdiFlush();
            const DWORD* first = static_cast<const DWORD*>(bits);
            shot.pixels_.assign(first, first + static_cast<size_t>(width) * height);
            for (DWORD& p : shot.pixels_) p &= 0x00FFFFFF;
            shot.width_ = width;
            shot.height_ = height;
        }
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
    return shot;
}

COLORREF ScreenPixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    DWORD p = pixels_[static_cast<size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

size_t ScreenPixels::CountDifferences(const ScreenPixels& other) const
{
    if (width_ != other.width_ || height_ != other.height_) return pixels_.size() > other.pixels_.size() ? pixels_.size() : other.pixels_.size();
    size_t count = 0;
    for (size_t i = 0; i < pixels_.size(); ++i) count += pixels_[i] != other.pixels_[i];
    return count;
}
