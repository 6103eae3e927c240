#pragma once
#include <windows.h>
#include <vector>

// What the screen shows in a rectangle, read once, as 0x00RRGGBB values row by row.
class ScreenPixels {
public:
    static ScreenPixels Capture(const RECT& screen);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return pixels_.empty(); }
    // RGB() order, as GetPixel gives it; relative to the rectangle's top-left corner.
    COLORREF At(int x, int y) const;
    bool operator==(const ScreenPixels& other) const
    {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
    }
    bool operator!=(const ScreenPixels& other) const { return !(*this == other); }
    // How many pixels differ from other's; all of them when the sizes differ.
    size_t CountDifferences(const ScreenPixels& other) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> pixels_;
};
