#pragma once
#include <windows.h>
#include <vector>

// Pixels read once, from the screen or from a bitmap, as 0x00RRGGBB values row by row.
class PixelImage {
public:
    static PixelImage CaptureScreen(const RECT& screen);
    static PixelImage FromBitmap(HBITMAP bitmap);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return pixels_.empty(); }
    // RGB() order, as GetPixel gives it; CLR_INVALID outside the image.
    COLORREF At(int x, int y) const;
    bool operator==(const PixelImage& other) const
    {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
    }
    bool operator!=(const PixelImage& other) const { return !(*this == other); }
    // How many pixels differ from other's; all of them when the sizes differ.
    size_t CountDifferences(const PixelImage& other) const;

private:
    // Reads what is selected into dc as a top-down 32-bit image of the given size.
    bool Read(HDC dc, int x, int y, int width, int height);

    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> pixels_;
};
