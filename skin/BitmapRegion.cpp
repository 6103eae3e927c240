#include "skin/BitmapRegion.h"
#include "framework/CDC.h"
#include <algorithm>
#include <cstring>

namespace {
const DWORD kKeyPixel = 0x00FF00FF;
const DWORD kColorBits = 0x00FFFFFF;
}

void FindOpaqueRuns(const DWORD* row, int width, std::vector<PixelRun>& runs)
{
    runs.clear();
    int x = 0;
    while (x < width) {
        while (x < width && (row[x] & kColorBits) == kKeyPixel) ++x;
        if (x == width) break;
        int start = x;
        while (x < width && (row[x] & kColorBits) != kKeyPixel) ++x;
        runs.push_back({start, x});
    }
}

std::vector<RECT> OpaqueRects(const DWORD* pixels, int width, int height)
{
    std::vector<RECT> rects;
    std::vector<PixelRun> previous, runs;
    size_t bandFirst = 0;
    for (int y = 0; y < height; ++y) {
        FindOpaqueRuns(pixels + static_cast<size_t>(y) * static_cast<size_t>(width), width, runs);
        if (y > 0 && runs == previous) {
            for (size_t i = bandFirst; i < rects.size(); ++i) rects[i].bottom = y + 1;
            continue;
        }
        bandFirst = rects.size();
        for (const PixelRun& run : runs) rects.push_back({run.start, y, run.end, y + 1});
        previous.swap(runs);
    }
    return rects;
}

bool ReadBitmapPixels(const CBitmap& bitmap, std::vector<DWORD>& pixels, int& width, int& height)
{
    BITMAP info{};
    if (!bitmap.GetBitmap(&info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    width = info.bmWidth;
    height = info.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    CDC memory;
    if (!memory.CreateCompatibleDC(nullptr)) return false;
    return ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &format, DIB_RGB_COLORS) == height;
}

CRgn RegionFromRects(const std::vector<RECT>& rects)
{
    CRgn region;
    if (rects.empty()) {
        region.CreateRectRgn(0, 0, 0, 0);
        return region;
    }
    RECT bound = rects.front();
    for (const RECT& rect : rects) UnionRect(&bound, &bound, &rect);
    const size_t rectBytes = rects.size() * sizeof(RECT);
    std::vector<unsigned char> buffer(sizeof(RGNDATAHEADER) + rectBytes);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rectBytes);
    data->rdh.rcBound = bound;
    std::memcpy(data->Buffer, rects.data(), rectBytes);
    region.Attach(::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
    return region;
}

CRgn CreateBitmapRegion(const CBitmap& bitmap)
{
    std::vector<DWORD> pixels;
    int width = 0, height = 0;
    if (!ReadBitmapPixels(bitmap, pixels, width, height)) return CRgn();
    return RegionFromRects(OpaqueRects(pixels.data(), width, height));
}
