#include "skin/CSkinButton.h"
#include "SkinTestIds.h"
#include "TestWindow.h"
#include <doctest/doctest.h>
#include <string>

namespace {

// The left and right halves of the test pictures.
const COLORREF kNormal[] = {RGB(20, 90, 160), RGB(200, 60, 30)};
const COLORREF kHover[] = {RGB(250, 210, 40), RGB(40, 200, 90)};
const int kParentX = 200, kParentY = 200, kButtonX = 60, kButtonY = 40, kButtonId = 1009;

// Moves and presses the real X pointer of the display that Wine draws on.
void Pointer(const std::wstring& command)
{
    std::wstring line = L"/usr/bin/xdotool " + command;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    REQUIRE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    // A Unix process's handle cannot be waited for under Wine: its effect is waited for instead.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

struct ButtonFixture {
    TestParent parent{kParentX, kParentY, 200, 120, RGB(255, 255, 255)};
    CSkinButton button;
    ButtonFixture()
    {
        REQUIRE(button.SubclassWindow(parent.AddChild(L"Button", BS_OWNERDRAW, kButtonId, {0, 0, 10, 10})));
        button.SetSkin(IDB_TEST_NORMAL, IDB_TEST_HOVER, L"60, 40, 0, 0");
        REQUIRE(button.m_nWidth == 40);
        REQUIRE(button.m_nHeight == 24);
        button.SetWindowPos(HWND_TOP, button.m_rcPlacement.left, button.m_rcPlacement.top, button.m_nWidth,
                            button.m_nHeight, SWP_SHOWWINDOW);
        MoveTo(10, 10);
        Shows(kNormal);
    }
    // Client coordinates of the parent.
    void MoveTo(int x, int y)
    {
        Pointer(L"mousemove " + std::to_wstring(kParentX + x) + L" " + std::to_wstring(kParentY + y));
        REQUIRE(PumpUntil([&] {
            POINT at;
            GetCursorPos(&at);
            return at.x == kParentX + x && at.y == kParentY + y;
        }));
        Settle();
    }
    void MoveOver() { MoveTo(kButtonX + 20, kButtonY + 12); }
    void MoveOff() { MoveTo(kButtonX + 60, kButtonY + 30); }
    void Press(bool down)
    {
        Pointer(down ? L"mousedown 1" : L"mouseup 1");
        REQUIRE(PumpUntil([&] { return ((GetKeyState(VK_LBUTTON) & 0x8000) != 0) == down; }));
        Settle();
    }
    void Settle() { PumpUntil([] { return false; }, 100); }
    bool Shows(const COLORREF (&picture)[2])
    {
        return PumpUntil([&] {
            return PixelOf(button, 5, 12) == picture[0] && PixelOf(button, 35, 12) == picture[1];
        }, 1000);
    }
};

} // namespace

TEST_CASE("real pointer: the hover picture while over the button, one command per click released over it")
{
    const struct {
        const char* name;
        bool press, dragOut, backIn;
        size_t commands;
    } cases[] = {{"hover", false, false, false, 0}, {"click", true, false, false, 1},
                 {"drag out", true, true, false, 0}, {"out and back", true, true, true, 1}};
    for (const auto& c : cases) {
        CAPTURE(c.name);
        ButtonFixture f;
        f.MoveOver();
        CHECK(f.Shows(kHover));
        if (c.press) f.Press(true);
        if (c.dragOut) {
            f.MoveOff();
            CHECK(f.Shows(kNormal));
            CHECK(CWnd::GetCapture() == &f.button);
        }
        if (c.backIn) f.MoveOver();
        if (c.press) f.Press(false);
        REQUIRE(f.parent.commands.size() == c.commands);
        if (c.commands) {
            CHECK(f.parent.commands[0].wParam == MAKEWPARAM(kButtonId, BN_CLICKED));
            CHECK(f.parent.commands[0].lParam == reinterpret_cast<LPARAM>(f.button.m_hWnd));
        }
        f.MoveOff();
        CHECK(f.Shows(kNormal));
        CHECK(CWnd::GetCapture() == nullptr);
    }
}
