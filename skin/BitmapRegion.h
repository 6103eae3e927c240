#pragma once
#include "framework/CBitmap.h"
#include "framework/CRgn.h"
#include <vector>

// The window outline of a skin picture: every pixel that is not exactly magenta, RGB(255, 0, 255).

// A horizontal run of pixels [start, end).
struct PixelRun {
    int start;
    int end;
    bool operator==(const PixelRun& other) const { return start == other.start && end == other.end; }
};

// The maximal runs of non-key pixels of one row of 32-bit pixels as GetDIBits gives them (0x00RRGGBB);
// the top byte is ignored.
void FindOpaqueRuns(const DWORD* row, int width, std::vector<PixelRun>& runs);

// Rectangles covering exactly the non-key pixels of a top-down picture: one per run, with each run
// extended downwards over the rows below it whose runs are all the same.
std::vector<RECT> OpaqueRects(const DWORD* pixels, int width, int height);

// The same rectangles, built from the picture's rows given one at a time from the top.
class OpaqueRectsBuilder {
public:
    void AddRow(const DWORD* row, int width);
    const std::vector<RECT>& Rects() const { return m_rects; }

private:
    std::vector<RECT> m_rects;
    std::vector<PixelRun> m_previous, m_runs;
    size_t m_bandFirst = 0;
    int m_row = 0;
};

// The picture as 32-bit top-down pixels; false when it has no handle or cannot be read. The bitmap
// must not be selected into a device context.
bool ReadBitmapPixels(const CBitmap& bitmap, std::vector<DWORD>& pixels, int& width, int& height);

// A region that is the union of the rectangles.
CRgn RegionFromRects(const std::vector<RECT>& rects);

// The outline of the picture in its own coordinates; no handle when the picture cannot be read.
// The caller owns the region (a window it is handed to with SetWindowRgn takes it over).
CRgn CreateBitmapRegion(const CBitmap& bitmap);
