#include "framework/CDC.h"
#include "skin/BitmapRegion.h"
#include "PixelScanRegion.h"
#include <doctest/doctest.h>
#include <functional>

namespace {

const COLORREF kKey = RGB(255, 0, 255);

// A 24-bit picture, as the skin's resources load, with each pixel's colour from the function.
CBitmap MakePicture(int width, int height, const std::function<COLORREF(int, int)>& color)
{
    CBitmap picture = MakeDibPicture(width, height);
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CSelectGuard select(memory, picture);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixelV(memory, x, y, color(x, y));
    return picture;
}

} // namespace

TEST_CASE("FindOpaqueRuns: one run per stretch of pixels that are not exactly magenta")
{
    const DWORD K = 0x00FF00FF, O = 0x00102030;
    const std::pair<std::vector<DWORD>, std::vector<PixelRun>> cases[] = {
        {{K, K, O, O, O, K, O}, {{2, 5}, {6, 7}}},
        {{O, O, K}, {{0, 2}}},
        {{K, K}, {}},
        {{0xFF000000 | K, 0x00FE00FF, 0x00FF01FF}, {{1, 3}}},  // alpha byte ignored; near-magenta opaque
    };
    for (const auto& [row, expected] : cases) {
        std::vector<PixelRun> runs{{9, 9}};
        FindOpaqueRuns(row.data(), static_cast<int>(row.size()), runs);
        CHECK(runs == expected);
    }
}

TEST_CASE("the region equals the per-pixel scan's, whatever the picture")
{
    const COLORREF row7[] = {kKey, kKey, 1, 2, 3, kKey, 4};
    const struct {
        const char* name;
        int width, height;
        std::function<COLORREF(int, int)> color;
        RECT box;
    } cases[] = {
        {"no key colour", 23, 17, [](int x, int y) { return RGB(x * 10, y * 10, 7); }, {0, 0, 23, 17}},
        {"all key colour", 23, 17, [](int, int) { return kKey; }, {0, 0, 0, 0}},
        {"seven-pixel rows", 7, 3, [&](int x, int) { return row7[x]; }, {2, 0, 7, 3}},
        {"near-magenta", 9, 4, [](int x, int) { return x % 2 ? RGB(254, 0, 255) : kKey; }, {1, 0, 8, 4}},
        {"rounded corners", 40, 30, [](int x, int y) {
             int dx = x < 8 ? 8 - x : x > 31 ? x - 31 : 0, dy = y < 8 ? 8 - y : y > 21 ? y - 21 : 0;
             return dx * dx + dy * dy > 64 ? kKey : RGB(20, 20, (x * y) % 256);
         }, {0, 0, 40, 30}},
        {"read in several bands of rows", 700, 300, [](int x, int y) {
             return (x + 3 * y) % 97 < 5 || (y > 120 && y < 140) ? kKey : RGB(x % 256, y % 256, 1);
         }, {0, 0, 700, 300}},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        CBitmap picture = MakePicture(c.width, c.height, c.color);
        CRgn fast = CreateBitmapRegion(picture);
        REQUIRE(fast.GetSafeHandle());
        CHECK(EqualRgn(fast, PixelScanRegion(picture)));
        RECT box{};
        GetRgnBox(fast, &box);
        CHECK(EqualRect(&box, &c.box));
    }
    CHECK_FALSE(CreateBitmapRegion(CBitmap()).GetSafeHandle());
}
