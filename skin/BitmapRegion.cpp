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

void OpaqueRectsBuilder::AddRow(const DWORD* row, int width)
{
    FindOpaqueRuns(row, width, m_runs);
    if (m_row > 0 && m_runs == m_previous) {
        for (size_t i = m_bandFirst; i < m_rects.size(); ++i) m_rects[i].bottom = m_row + 1;
    } else {
        m_bandFirst = m_rects.size();
        for (const PixelRun& run : m_runs) m_rects.push_back({run.start, m_row, run.end, m_row + 1});
        m_previous.swap(m_runs);
    }
    ++m_row;
}

std::vector<RECT> OpaqueRects(const DWORD* pixels, int width, int height)
{
    OpaqueRectsBuilder builder;
    for (int y = 0; y < height; ++y) builder.AddRow(pixels + static_cast<size_t>(y) * static_cast<size_t>(width), width);
    return builder.Rects();
}

namespace {

BITMAPINFO Format32(int width, int height, bool topDown)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = topDown ? -height : height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

} // namespace

bool ReadBitmapPixels(const CBitmap& bitmap, std::vector<DWORD>& pixels, int& width, int& height)
{
    BITMAP info{};
    if (!bitmap.GetBitmap(&info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    width = info.bmWidth;
    height = info.bmHeight;
    BITMAPINFO format = Format32(width, height, true);
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
    BITMAP info{};
    if (!bitmap.GetBitmap(&info) || info.bmWidth <= 0 || info.bmHeight <= 0) return CRgn();
    const int width = info.bmWidth, height = info.bmHeight;
    CDC memory;
    if (!memory.CreateCompatibleDC(nullptr)) return CRgn();
    // Read a band of rows at a time: the whole picture's pixels would be a megabyte of fresh memory
    // for a scan that needs a few rows.
    const int band = std::max(1, std::min(height, 65536 / width));
    // Bottom-up, where a band's start line is plainly counted from the picture's bottom row.
    BITMAPINFO format = Format32(width, height, false);
    std::vector<DWORD> pixels(static_cast<size_t>(width) * static_cast<size_t>(band));
    OpaqueRectsBuilder builder;
    for (int top = 0; top < height; top += band) {
        const int rows = std::min(band, height - top);
        if (::GetDIBits(memory, bitmap, static_cast<UINT>(height - top - rows), static_cast<UINT>(rows), pixels.data(),
                        &format, DIB_RGB_COLORS) != rows)
            return CRgn();
        for (int y = rows - 1; y >= 0; --y)
            builder.AddRow(pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width), width);
    }
    return RegionFromRects(builder.Rects());
}
