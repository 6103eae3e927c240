// Times the window outline of a 476 x 491 picture built per pixel with GetPixel (the plain way,
// the baseline) against the bulk read of skin/BitmapRegion, and the ways of making the region from
// the runs, all in the same run; every region is checked equal to the baseline's.
// Run after `make test` (which makes the Wine prefix):
//     WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all wine build/regionbench.exe </dev/null
#include "framework/CDC.h"
#include "skin/BitmapRegion.h"
#include "PixelScanRegion.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const int kWidth = 476, kHeight = 491;

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

// A 24-bit picture like the skin's background: a vertical gradient with a fine texture, and when
// asked a magenta outside of rounded corners and a cut top-right edge.
CBitmap MakeBackground(bool shaped)
{
    CBitmap picture = MakeDibPicture(kWidth, kHeight);
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CSelectGuard select(memory, picture);
    RECT all{0, 0, kWidth, kHeight};
    memory.FillSolidRect(&all, RGB(255, 0, 255));
    HRGN shape = shaped ? CreateRoundRectRgn(0, 0, kWidth + 1, kHeight + 1, 36, 36) : CreateRectRgn(0, 0, kWidth, kHeight);
    if (shaped) {
        POINT cut[] = {{kWidth - 60, 0}, {kWidth, 0}, {kWidth, 60}};
        HRGN corner = CreatePolygonRgn(cut, 3, ALTERNATE);
        CombineRgn(shape, shape, corner, RGN_DIFF);
        DeleteObject(corner);
    }
    SelectClipRgn(memory, shape);
    for (int y = 0; y < kHeight; ++y) {
        RECT row{0, y, kWidth, y + 1};
        memory.FillSolidRect(&row, RGB(20 + y / 8, 24 + y / 12, 40 + y / 5));
        for (int x = (y * 7) % 13; x < kWidth; x += 13) SetPixelV(memory, x, y, RGB(30 + y / 8, 30, 50 + y / 5));
    }
    SelectClipRgn(memory, nullptr);
    DeleteObject(shape);
    return picture;
}

// Best of the given number of runs, in milliseconds; the last region built is kept.
double BestOf(int runs, const std::function<CRgn()>& build, CRgn& result)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        CRgn region = build();
        QueryPerformanceCounter(&end);
        best = std::min(best, Milliseconds(start, end));
        result = std::move(region);
    }
    return best;
}

// One rectangle per run of each row, as the per-pixel scan makes them.
std::vector<RECT> RowRects(const std::vector<DWORD>& pixels, int width, int height)
{
    std::vector<RECT> rects;
    std::vector<PixelRun> runs;
    for (int y = 0; y < height; ++y) {
        FindOpaqueRuns(pixels.data() + static_cast<size_t>(y) * width, width, runs);
        for (const PixelRun& run : runs) rects.push_back({run.start, y, run.end, y + 1});
    }
    return rects;
}

CRgn CombinedOneByOne(const std::vector<RECT>& rects)
{
    CRgn region, piece;
    region.CreateRectRgn(0, 0, 0, 0);
    for (const RECT& rect : rects) {
        piece.CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
        region.CombineRgn(region, piece, RGN_OR);
    }
    return region;
}

std::vector<RECT> Read(const CBitmap& picture, bool merged)
{
    std::vector<DWORD> pixels;
    int width = 0, height = 0;
    ReadBitmapPixels(picture, pixels, width, height);
    return merged ? OpaqueRects(pixels.data(), width, height) : RowRects(pixels, width, height);
}

bool Measure(const char* name, const CBitmap& picture)
{
    CRgn baseline, region;
    double slow = BestOf(5, [&] { return PixelScanRegion(picture); }, baseline);
    std::printf("%s picture, %d x %d: per pixel (GetPixel, CombineRgn per run) %.2f ms\n", name, kWidth, kHeight, slow);
    struct Way {
        const char* name;
        bool merged;
        std::function<CRgn(const std::vector<RECT>&)> make;
    };
    const Way ways[] = {
        {"bulk read, CombineRgn per run", false, CombinedOneByOne},
        {"bulk read, ExtCreateRegion of the runs", false, RegionFromRects},
        {"bulk read, equal rows merged, CombineRgn per rectangle", true, CombinedOneByOne},
        {"bulk read, equal rows merged, ExtCreateRegion (CreateBitmapRegion)", true, RegionFromRects},
    };
    bool allEqual = true;
    for (const Way& way : ways) {
        size_t count = 0;
        double fast = BestOf(50, [&] {
            std::vector<RECT> rects = Read(picture, way.merged);
            count = rects.size();
            return way.make(rects);
        }, region);
        bool equal = region.GetSafeHandle() && EqualRgn(region, baseline);
        allEqual = allEqual && equal;
        std::printf("  %-68s %7.3f ms  %4u rectangles  ratio %6.1fx  %s\n", way.name, fast,
                    static_cast<unsigned>(count), slow / fast, equal ? "equal" : "DIFFERENT");
    }
    double shipped = BestOf(50, [&] { return CreateBitmapRegion(picture); }, region);
    bool equal = region.GetSafeHandle() && EqualRgn(region, baseline);
    std::printf("  CreateBitmapRegion as shipped: %.3f ms, %.1f times faster than per pixel, %s\n", shipped,
                slow / shipped, equal ? "equal" : "DIFFERENT");
    return allEqual && equal;
}

} // namespace

int main()
{
    bool ok = Measure("rounded magenta outline", MakeBackground(true));
    ok = Measure("no magenta", MakeBackground(false)) && ok;
    return ok ? 0 : 1;
}
