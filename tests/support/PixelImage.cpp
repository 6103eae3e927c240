#include "PixelImage.h"

bool PixelImage::Read(HDC source, int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0) return false;
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool read = false;
    if (memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY)) {
            GdiFlush();
            const DWORD* first = static_cast<const DWORD*>(bits);
            pixels_.assign(first, first + static_cast<size_t>(width) * height);
            for (DWORD& p : pixels_) p &= 0x00FFFFFF;
            width_ = width;
            height_ = height;
            read = true;
        }
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    return read;
}

PixelImage PixelImage::CaptureScreen(const RECT& screen)
{
    PixelImage image;
    HDC screenDc = GetDC(nullptr);
    image.Read(screenDc, screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top);
    ReleaseDC(nullptr, screenDc);
    return image;
}

PixelImage PixelImage::FromBitmap(HBITMAP bitmap)
{
    PixelImage image;
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return image;
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(source, bitmap);
    image.Read(source, 0, 0, info.bmWidth, info.bmHeight);
    SelectObject(source, previous);
    DeleteDC(source);
    return image;
}

COLORREF PixelImage::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    DWORD p = pixels_[static_cast<size_t>(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

size_t PixelImage::CountDifferences(const PixelImage& other) const
{
    if (width_ != other.width_ || height_ != other.height_) return pixels_.size() > other.pixels_.size() ? pixels_.size() : other.pixels_.size();
    size_t count = 0;
    for (size_t i = 0; i < pixels_.size(); ++i) count += pixels_[i] != other.pixels_[i];
    return count;
}
