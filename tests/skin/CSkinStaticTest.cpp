#include "framework/CException.h"
#include "skin/CSkinStatic.h"
#include "skin/RectText.h"
#include "TestWindow.h"
#include <doctest/doctest.h>
#include <cstdlib>
#include <string>

TEST_CASE("colour, size and alignment texts")
{
    const std::pair<const wchar_t*, COLORREF> colors[] = {
        {L"#FFFFFF", RGB(0xFF, 0xFF, 0xFF)}, {L"#660000", RGB(0x66, 0, 0)}, {L"#ff00FF", RGB(0xFF, 0, 0xFF)},
        {L"text#00FF00", RGB(0, 0xFF, 0)}, {L"#FFF", RGB(0xFF, 0xF0, 0)}, {L"#12345678", 0x78563412},
        {L"#1234567890", 0x78563492},  // the ninth and tenth digits land on the first two
        {L"", 0}, {L"#", 0}, {L"FFFFFF", 0}, {L"#12345G", 0}, {L"#12 34 56", 0}, {L"#12#3456", 0},
        {L"#\xFF11\xFF12\xFF13\xFF14\xFF15\xFF16", 0},  // full-width digits
    };
    for (const auto& [text, expected] : colors) {
        CAPTURE(std::wstring(text));
        CHECK(ParseColor(text) == expected);
    }
    for (const auto& [text, expected] : {std::pair<const wchar_t*, int>{L"16px", 16}, {L" 18", 18}, {L"abc", 0}, {L"-12", -12}})
        CHECK(ParseDecimal(text) == expected);
    for (const auto& [text, expected] : {std::pair<const wchar_t*, UINT>{L"left", DT_LEFT}, {L"center", DT_CENTER},
                                         {L"right", DT_RIGHT}, {L"Center", DT_LEFT}, {L"centre", DT_LEFT}, {L"", DT_LEFT}})
        CHECK(ParseTextAlignment(text) == expected);
}

namespace {

const COLORREF kBackground = RGB(30, 40, 50), kInk = RGB(0xFF, 0xFF, 0);
const int kWidth = 200, kHeight = 40;

struct LabelFixture {
    TestParent parent{300, 300, 400, 200, kBackground};
    CSkinStatic label;
    explicit LabelFixture(DWORD type = SS_LEFT)
    {
        REQUIRE(label.SubclassWindow(parent.AddChild(L"Static", type, 1021, {10, 10, 10 + kWidth, 10 + kHeight})));
        label.SetStyle(L"Arial", L"18", L"#FFFF00", L"left");
    }
    RECT Place() const
    {
        RECT r;
        label.GetWindowRect(&r);
        parent.ScreenToClient(&r);
        return r;
    }
    // The first and last column with a pixel other than the background; whether one was the ink.
    std::pair<int, int> Repaint(bool* sawInk)
    {
        parent.Invalidate();
        parent.UpdateWindow();
        std::pair<int, int> inked{-1, -1};
        *sawInk = false;
        for (int x = 0; x < kWidth; ++x)
            for (int y = 0; y < kHeight; ++y) {
                COLORREF pixel = PixelOf(label, x, y);
                if (pixel == kBackground) continue;
                inked = {inked.first < 0 ? x : inked.first, x};
                *sawInk = *sawInk || pixel == kInk;
            }
        return inked;
    }
};

} // namespace

TEST_CASE("labels become owner-drawn statics whatever their alignment type")
{
    for (DWORD type : {SS_LEFT, SS_CENTER, SS_RIGHT}) CHECK((LabelFixture(type).label.GetStyle() & SS_TYPEMASK) == SS_OWNERDRAW);
}

TEST_CASE("SetPlacement moves without resizing and takes the width; short texts hide; errors change nothing")
{
    LabelFixture f;
    const std::pair<const wchar_t*, RECT> shown[] = {
        {L"155,130,320,50", {155, 130, 155 + kWidth, 130 + kHeight}}, {L"9,", {0, 0, kWidth, kHeight}}};
    for (const auto& [text, place] : shown) {
        f.label.SetPlacement(text);
        RECT at = f.Place();
        CHECK(EqualRect(&at, &place));
        CHECK(f.label.IsWindowVisible());
    }
    CHECK(f.label.GetPlacementWidth() == 0);
    f.label.SetPlacement(L"155,130,320,50");
    CHECK(f.label.GetPlacementWidth() == 165);
    CHECK_THROWS_AS(f.label.SetPlacement(L"1,2,3"), CInvalidArgException);
    for (const wchar_t* text : {L"", L"7"}) {
        f.label.SetPlacement(text);
        CHECK_FALSE(f.label.IsWindowVisible());
    }
    CHECK(f.label.GetPlacementWidth() == 165);
    CHECK(f.label.GetPlacement().top == 130);
}

TEST_CASE("the text is drawn in its colour over the background, laid out and clipped within the placement width")
{
    LabelFixture f;
    bool sawInk = false;
    f.label.SetWindowText(L"WWWWWWWWWWWWWWWW");
    f.label.m_nFontWeight = FW_BOLD;
    f.label.SetPlacement(L"10,10,70,50");
    std::pair<int, int> inked = f.Repaint(&sawInk);
    CHECK(sawInk);
    CHECK(inked.first >= 0);
    CHECK(inked.first < 5);
    CHECK(inked.second > 50);
    CHECK(inked.second < 60);

    f.label.SetWindowText(L"II");
    f.label.SetStyle(L"Arial", L"18", L"#FFFF00", L"center");
    inked = f.Repaint(&sawInk);
    CHECK(std::abs(inked.first + inked.second - 60) <= 4);

    f.label.SetPlacement(L"10,10,10,50");
    CHECK(f.Repaint(&sawInk).first == -1);
}
