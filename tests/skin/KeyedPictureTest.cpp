#include "skin/KeyedPicture.h"
#include <doctest/doctest.h>
#include <functional>
#include <string>

namespace {

const COLORREF kKey = RGB(255, 0, 255);

// A 24-bit picture, as the skin's pictures load.
HBITMAP MakePicture(int width, int height, const std::function<COLORREF(int, int)>& color)
{
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!picture) return nullptr;
    const int stride = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = color(x, y);
            auto* pixel = static_cast<unsigned char*>(bits) + y * stride + x * 3;
            pixel[0] = GetBValue(c), pixel[1] = GetGValue(c), pixel[2] = GetRValue(c);
        }
    return picture;
}

// A screen-like target filled with one colour.
struct Canvas {
    CDC dc;
    CBitmap bitmap;
    Canvas(COLORREF fill)
    {
        CDC screen(GetDC(nullptr));
        REQUIRE(dc.CreateCompatibleDC(&screen));
        REQUIRE(bitmap.CreateCompatibleBitmap(&screen, 60, 40));
        ReleaseDC(nullptr, screen.Detach());
        dc.SelectObject(bitmap.GetSafeHandle());
        RECT all{0, 0, 60, 40};
        dc.FillSolidRect(&all, fill);
    }
};

} // namespace

TEST_CASE("a keyed picture draws what TransparentBlt draws, built once and rebuilt for another picture")
{
    HBITMAP stripes = MakePicture(30, 20, [](int x, int y) {
        return (x + y) % 5 == 0 ? kKey : x % 7 == 0 ? RGB(254, 0, 255) : RGB(x * 8, 255 - y * 10, 90);
    });
    HBITMAP frame = MakePicture(30, 20, [](int x, int y) { return x < 3 || y < 3 ? RGB(0, 0, 0) : kKey; });
    REQUIRE(stripes);
    REQUIRE(frame);
    const struct {
        std::string name;
        COLORREF beneath;
        RECT part;  // left, top: where it is drawn and taken from; right, bottom: its size
    } rows[] = {
        {"whole, over white", RGB(255, 255, 255), {0, 0, 30, 20}},
        {"whole, over a colour", RGB(10, 200, 30), {0, 0, 30, 20}},
        {"a part from inside", RGB(10, 200, 30), {7, 4, 15, 9}},
    };
    for (const auto& row : rows) {
        CAPTURE(row.name);
        KeyedPicture keyed;
        for (HBITMAP picture : {stripes, stripes, frame}) {
            Canvas fast(row.beneath), slow(row.beneath);
            const RECT& p = row.part;
            REQUIRE(keyed.Draw(fast.dc, p.left + 20, p.top + 10, p.right, p.bottom, picture, p.left, p.top, kKey));
            CDC source;
            REQUIRE(source.CreateCompatibleDC(&slow.dc));
            CSelectGuard select(source, picture);
            REQUIRE(slow.dc.TransparentBlt(p.left + 20, p.top + 10, p.right, p.bottom, &source, p.left, p.top, p.right,
                                           p.bottom, kKey));
            int differing = 0;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 60; ++x) differing += fast.dc.GetPixel(x, y) != slow.dc.GetPixel(x, y);
            CHECK(differing == 0);
        }
    }
    DeleteObject(stripes);
    DeleteObject(frame);
}
