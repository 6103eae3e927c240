#include "framework/CClientDC.h"
#include "skin/CSkinEdit.h"
#include <doctest/doctest.h>

namespace {

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);

class ProbeEdit : public CSkinEdit {
public:
    using CSkinEdit::m_bmpFrame;
    using CSkinEdit::m_brBack;
    using CSkinEdit::m_crBack;
    using CSkinEdit::m_crText;
    using CSkinEdit::m_font;
};

// A parent window with a skin edit of the given client size; the border is wide enough for the
// frame's edges to show.
struct EditInWindow {
    HWND parent;
    ProbeEdit edit;
    EditInWindow(int width, int height)
    {
        parent = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 600, 200, nullptr, nullptr, nullptr,
                                 nullptr);
        RECT rect{0, 0, width, height};
        DWORD style = WS_CHILD | WS_VISIBLE | WS_THICKFRAME | WS_BORDER;
        AdjustWindowRectEx(&rect, style, FALSE, 0);
        HWND hWnd = CreateWindowExW(0, L"Edit", L"", style, 40, 40, rect.right - rect.left, rect.bottom - rect.top,
                                    parent, nullptr, nullptr, nullptr);
        edit.SubclassWindow(hWnd);
        UpdateWindow(parent);
        UpdateWindow(hWnd);
    }
    ~EditInWindow() { DestroyWindow(parent); }
    // A pixel of the edit's window, given relative to its client area's top-left corner.
    COLORREF PixelAt(int x, int y)
    {
        RECT window;
        GetWindowRect(edit.m_hWnd, &window);
        POINT client{0, 0};
        ClientToScreen(edit.m_hWnd, &client);
        HDC dc = GetWindowDC(edit.m_hWnd);
        COLORREF color = GetPixel(dc, client.x - window.left + x, client.y - window.top + y);
        ReleaseDC(edit.m_hWnd, dc);
        return color;
    }
};

} // namespace

TEST_CASE("a new skin edit has its colours, font and frame picture without a window")
{
    ProbeEdit edit;
    CHECK(edit.m_crBack == kWhite);
    CHECK(edit.m_crText == RGB(0, 0, 0));
    CHECK(edit.m_brBack.GetSafeHandle() == nullptr);
    BITMAP picture{};
    REQUIRE(edit.m_bmpFrame.GetBitmap(&picture));
    CHECK(picture.bmWidth == 156);
    CHECK(picture.bmHeight == 30);
    LOGFONTW font{};
    REQUIRE(GetObjectW(edit.m_font.GetSafeHandle(), sizeof font, &font) == sizeof font);
    CHECK(font.lfHeight == 12);
    CHECK(font.lfWeight == FW_NORMAL);
    CHECK(font.lfQuality == PROOF_QUALITY);
    CHECK(font.lfPitchAndFamily == (FF_SWISS | DEFAULT_PITCH));
    CHECK(lstrcmpW(font.lfFaceName, L"宋体") == 0);
}

TEST_CASE("each colour request replaces the brush, so two leave one of the background colour")
{
    ProbeEdit edit;
    HDC screen = GetDC(nullptr);
    CDC dc(screen);
    HBRUSH first = edit.CtlColor(&dc, CTLCOLOR_EDIT);
    HBRUSH second = edit.CtlColor(&dc, CTLCOLOR_EDIT);
    CHECK(GetObjectType(first) == 0);
    LOGBRUSH brush{};
    REQUIRE(GetObjectW(second, sizeof brush, &brush) == sizeof brush);
    CHECK(brush.lbColor == kWhite);
    CHECK(GetBkColor(screen) == kWhite);
    CHECK(GetTextColor(screen) == RGB(0, 0, 0));
    CHECK(GetCurrentObject(screen, OBJ_FONT) == edit.m_font.GetSafeHandle());
    SelectObject(screen, GetStockObject(SYSTEM_FONT));
    dc.Detach();
    ReleaseDC(nullptr, screen);
}

TEST_CASE("the frame lands at the same place for any edit size and leaves the content under its interior")
{
    struct Probe {
        int x, y;
        COLORREF expected;
    };
    const Probe probes[] = {
        {-3, 10, kBlue},  // left edge's frame, in the border
        {-1, 10, kWhite}, // left edge's interior, drawn whole
        {10, 23, kBlue},  // bottom of the middle piece
        {78, 10, kBlue},  // right edge's frame
        {76, 10, kWhite}, // right edge's interior, drawn whole
        {10, 10, kRed},   // middle interior: the content shows
        {60, 0, kRed},
        {85, 10, kRed},   // beyond the frame's 85 pixels
        {10, 27, kRed},   // below its 30 rows
    };
    for (SIZE size : {SIZE{100, 35}, SIZE{300, 80}}) {
        CAPTURE(size.cx);
        EditInWindow window(size.cx, size.cy);
        CClientDC content(&window.edit);
        RECT client{0, 0, size.cx, size.cy};
        content.FillSolidRect(&client, kRed);
        window.edit.SendMessage(WM_NCPAINT, 1, 0);
        GdiFlush();
        for (const Probe& probe : probes) {
            CAPTURE(probe.x);
            CAPTURE(probe.y);
            CHECK(window.PixelAt(probe.x, probe.y) == probe.expected);
        }
    }
}
