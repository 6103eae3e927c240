#include "PixelScanRegion.h"
#include "framework/CDC.h"

CRgn PixelScanRegion(const CBitmap& bitmap)
{
    const COLORREF key = RGB(255, 0, 255);
    BITMAP info{};
    CRgn region;
    if (!bitmap.GetBitmap(&info) || !region.CreateRectRgn(0, 0, 0, 0)) return region;
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CSelectGuard select(memory, bitmap);
    for (int y = 0; y < info.bmHeight; ++y) {
        int x = 0;
        while (x < info.bmWidth) {
            while (x < info.bmWidth && memory.GetPixel(x, y) == key) ++x;
            int start = x;
            while (x < info.bmWidth && memory.GetPixel(x, y) != key) ++x;
            CRgn run;
            run.CreateRectRgn(start, y, x, y + 1);
            region.CombineRgn(region, run, RGN_OR);
        }
    }
    return region;
}

CBitmap MakeDibPicture(int width, int height)
{
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    CBitmap picture;
    picture.Attach(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    return picture;
}
