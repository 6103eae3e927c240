#include "framework/CException.h"
#include "skin/CSkinStatic.h"
#include "skin/RectText.h"
#include "tests/skin/TestWindow.h"
#include <doctest/doctest.h>
#include <cstdlib>
#include <string>

TEST_CASE("ParseColor: #RRGGBB, digits after the first '#' only, nothing expanded")
{
    struct Case {
        const wchar_t* text;
        COLORREF expected;
    };
    const Case cases[] = {
        {L"#FFFFFF", RGB(0xFF, 0xFF, 0xFF)},
        {L"#660000", RGB(0x66, 0, 0)},
        {L"#ff00FF", RGB(0xFF, 0, 0xFF)},
        {L"#123456", RGB(0x12, 0x34, 0x56)},
        {L"text#00FF00", RGB(0, 0xFF, 0)},
        {L"#FFF", RGB(0xFF, 0xF0, 0)},
        {L"#12345678", 0x78563412},
        {L"#1234567890", 0x78563492},  // the ninth and tenth digits land on the first two
        {L"", 0},
        {L"#", 0},
        {L"FFFFFF", 0},
        {L"#12345G", 0},
        {L"#12 34 56", 0},
        {L"#12#3456", 0},
        {L"#\xFF11\xFF12\xFF13\xFF14\xFF15\xFF16", 0},  // full-width digits
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.text));
        CHECK(ParseColor(c.text) == c.expected);
    }
}

TEST_CASE("size and alignment texts")
{
    struct SizeCase {
        const wchar_t* text;
        int expected;
    };
    for (const SizeCase& c : {SizeCase{L"16", 16}, {L"16px", 16}, {L" 18", 18}, {L"abc", 0}, {L"-12", -12},
                              {L"", 0}, {L"99999999999", 2147483647}}) {
        CAPTURE(std::wstring(c.text));
        CHECK(ParseDecimal(c.text) == c.expected);
    }
    struct AlignCase {
        const wchar_t* text;
        UINT expected;
    };
    for (const AlignCase& c : {AlignCase{L"left", DT_LEFT}, {L"center", DT_CENTER}, {L"right", DT_RIGHT},
                               {L"Center", DT_LEFT}, {L"centre", DT_LEFT}, {L"RIGHT", DT_LEFT}, {L"", DT_LEFT}}) {
        CAPTURE(std::wstring(c.text));
        CHECK(ParseTextAlignment(c.text) == c.expected);
    }
}

namespace {

const COLORREF kBackground = RGB(30, 40, 50);
const int kLabelWidth = 200, kLabelHeight = 40;

struct LabelFixture {
    TestParent parent{300, 300, 400, 200, kBackground};
    CSkinStatic label;
    LabelFixture(DWORD type = SS_LEFT)
    {
        REQUIRE(label.SubclassWindow(parent.AddChild(L"Static", type, 1021, {10, 10, 10 + kLabelWidth, 10 + kLabelHeight})));
    }
    RECT WindowPlace() const
    {
        RECT r;
        label.GetWindowRect(&r);
        parent.ScreenToClient(&r);
        return r;
    }
    // The label's columns with a pixel other than the background, and whether one was exactly the ink.
    struct Inked {
        int first = -1, last = -1;
        bool sawInk = false;
    };
    Inked Repaint(COLORREF ink)
    {
        parent.Invalidate();
        parent.UpdateWindow();
        HDC dc = GetDC(label);
        Inked inked;
        for (int x = 0; x < kLabelWidth; ++x)
            for (int y = 0; y < kLabelHeight; ++y) {
                COLORREF pixel = GetPixel(dc, x, y);
                if (pixel == kBackground) continue;
                if (inked.first < 0) inked.first = x;
                inked.last = x;
                inked.sawInk = inked.sawInk || pixel == ink;
            }
        ReleaseDC(label, dc);
        return inked;
    }
};

} // namespace

TEST_CASE("labels become owner-drawn statics whatever their alignment type")
{
    for (DWORD type : {SS_LEFT, SS_CENTER, SS_RIGHT}) {
        LabelFixture f(type);
        CHECK((f.label.GetStyle() & SS_TYPEMASK) == SS_OWNERDRAW);
    }
}

TEST_CASE("SetPlacement moves without resizing, hides on a short text, and keeps the width on errors")
{
    LabelFixture f;
    f.label.SetPlacement(L"155,130,320,50");
    RECT place = f.WindowPlace();
    CHECK(place.left == 155);
    CHECK(place.top == 130);
    CHECK(place.right - place.left == kLabelWidth);
    CHECK(place.bottom - place.top == kLabelHeight);
    CHECK(f.label.GetPlacementWidth() == 165);
    CHECK(f.label.IsWindowVisible());

    CHECK_THROWS_AS(f.label.SetPlacement(L"1,2,3"), CInvalidArgException);
    CHECK(f.label.GetPlacementWidth() == 165);
    CHECK(f.label.GetPlacement().top == 130);

    f.label.SetPlacement(L"9,");
    place = f.WindowPlace();
    CHECK(f.label.IsWindowVisible());
    CHECK(place.left == 0);
    CHECK(place.top == 0);
    CHECK(place.right - place.left == kLabelWidth);
    CHECK(f.label.GetPlacementWidth() == 0);

    for (const wchar_t* hiding : {L"", L"7"}) {
        f.label.SetPlacement(L"155,130,320,50");
        f.label.SetPlacement(hiding);
        CHECK_FALSE(f.label.IsWindowVisible());
        CHECK(f.label.GetPlacementWidth() == 165);
    }
}

TEST_CASE("the text is drawn in its colour over the parent's background, within the placement width")
{
    LabelFixture f;
    f.label.SetWindowText(L"WWWWWWWWWWWWWWWW");
    f.label.SetStyle(L"Arial", L"18", L"#FFFF00", L"left");
    f.label.m_nFontWeight = FW_BOLD;
    f.label.SetPlacement(L"10,10,70,50");
    const COLORREF yellow = RGB(0xFF, 0xFF, 0);
    LabelFixture::Inked inked = f.Repaint(yellow);
    CHECK(inked.sawInk);
    CHECK(inked.first >= 0);
    CHECK(inked.first < 5);
    CHECK(inked.last < 60);
    CHECK(inked.last > 50);

    // Centred over the placement width, not the window's.
    f.label.SetWindowText(L"II");
    f.label.SetStyle(L"Arial", L"18", L"#FFFF00", L"center");
    inked = f.Repaint(yellow);
    CHECK(std::abs((inked.first + inked.last) - 60) <= 4);

    // Width 0: nothing at all.
    f.label.SetPlacement(L"10,10,10,50");
    CHECK(f.Repaint(yellow).first == -1);
}
