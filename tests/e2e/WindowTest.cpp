#include "BuildFile.h"
#include "LauncherFolder.h"
#include "Mouse.h"
#include "PixelImage.h"
#include "Utf8.h"
#include "res/resource.h"
#include <doctest/doctest.h>
#include <stdexcept>

namespace {

// The recording stand-in: notes its working directory and command line at each start.
const wchar_t kRecorder[] = L"packages\\stand-ins\\war3.exe";

// Where start-up puts the controls, in client pixels, and each skin button's normal picture.
struct Placement {
    int id;
    RECT rect;
    UINT picture;
};
const Placement kLayout[] = {
    {IDC_BTN_CLOSE, {440, 2, 469, 24}, IDB_CLOSE},        {IDC_BTN_MINIMIZE, {410, 2, 439, 24}, IDB_MINIMIZE},
    {IDC_BTN_START, {158, 170, 318, 220}, IDB_START},     {IDC_BTN_120E, {20, 110, 142, 139}, IDB_120E},
    {IDC_BTN_124E, {20, 155, 142, 184}, IDB_124E},        {IDC_BTN_126, {20, 200, 142, 229}, IDB_126},
    {IDC_BTN_120E4M, {330, 110, 462, 139}, IDB_120E4M},   {IDC_BTN_124E8M, {330, 155, 462, 184}, IDB_124E8M},
    {IDC_BTN_MAPS, {330, 200, 462, 229}, IDB_MAPS},       {IDC_PIC_TOP, {7, 26, 469, 86}, IDB_PANEL_TOP},
    {IDC_PIC_BOTTOM, {7, 256, 469, 486}, IDB_PANEL_BOTTOM}, {IDC_WEB_TOP, {7, 26, 469, 86}, 0},
    {IDC_WEB_BOTTOM, {7, 256, 469, 486}, 0},              {IDC_ST_TITLE, {5, 5, 505, 55}, 0},
    {IDC_ST_VERSION, {155, 130, 455, 180}, 0},
};
const int kLabels[] = {IDC_ST_TITLE, IDC_ST_VERSION};
const COLORREF kKey = RGB(255, 0, 255);

const Placement& PlacementOf(int id)
{
    for (const Placement& p : kLayout)
        if (p.id == id) return p;
    throw std::out_of_range("no such control in the layout");
}

bool IsLabel(int id)
{
    return id == IDC_ST_TITLE || id == IDC_ST_VERSION;
}

POINT ClientToScreenPoint(const Window& dialog, POINT client)
{
    ClientToScreen(dialog.Handle(), &client);
    return client;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// The screen's pixels in rect once two reads a moment apart agree, so that painting has finished;
// this thread's own windows are painted meanwhile.
PixelImage SettledPixels(const RECT& rect)
{
    PixelImage shot = PixelImage::CaptureScreen(rect);
    WaitUntil([&] {
        PumpMessages();
        Sleep(150);
        PixelImage next = PixelImage::CaptureScreen(rect);
        bool settled = next == shot;
        shot = next;
        return settled;
    }, 5000, 0);
    return shot;
}

// A plain window of one colour, so that whatever shows through the launcher's outline is known.
class Backdrop {
public:
    Backdrop(const RECT& screen, COLORREF color) : brush_(CreateSolidBrush(color))
    {
        WNDCLASSW type{};
        type.lpfnWndProc = DefWindowProcW;
        type.hInstance = GetModuleHandleW(nullptr);
        type.hbrBackground = brush_;
        type.lpszClassName = L"WindowTestBackdrop";
        RegisterClassW(&type);
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, type.lpszClassName, L"", WS_POPUP, screen.left, screen.top,
                                  screen.right - screen.left, screen.bottom - screen.top, nullptr, nullptr,
                                  type.hInstance, nullptr);
        SetWindowPos(window_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        PumpMessages();
    }
    ~Backdrop()
    {
        if (window_) DestroyWindow(window_);
        UnregisterClassW(L"WindowTestBackdrop", GetModuleHandleW(nullptr));
        DeleteObject(brush_);
    }
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

private:
    HBRUSH brush_;
    HWND window_ = nullptr;
};

// A picture the launcher carries, read from its executable.
PixelImage LauncherPicture(const std::wstring& exe, UINT id)
{
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HBITMAP bitmap = module ? static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                                                              LR_CREATEDIBSECTION))
                            : nullptr;
    PixelImage picture = PixelImage::FromBitmap(bitmap);
    if (bitmap) DeleteObject(bitmap);
    if (module) FreeLibrary(module);
    return picture;
}

bool Contains(const RECT& rect, int x, int y)
{
    POINT point{x, y};
    return PtInRect(&rect, point) != FALSE;
}

// Makes a program the shell's handler of the home page's scheme while it lives, as a browser's
// set-up does, and puts back what was there.
} // namespace

TEST_CASE("the window: picture-sized, centred, without caption; controls placed and stacked as laid out")
{
    RunningLauncher game;
    REQUIRE_MESSAGE(game.dialog, Utf8(game.launcher.Describe()));
    const Window& dialog = game.dialog;
    RECT window = dialog.Rect();
    CHECK(window.right - window.left == 476);
    CHECK(window.bottom - window.top == 491);
    RECT area;
    REQUIRE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    CHECK(abs((window.left + window.right) - (area.left + area.right)) <= 1);
    CHECK(abs((window.top + window.bottom) - (area.top + area.bottom)) <= 1);
    CHECK_FALSE(dialog.HasStyle(WS_CAPTION));
    CHECK_FALSE(dialog.HasStyle(WS_THICKFRAME));

    POINT origin = ClientToScreenPoint(dialog, {0, 0});
    for (const Placement& p : kLayout) {
        CAPTURE(p.id);
        Window control = dialog.Control(p.id);
        REQUIRE(control);
        RECT rect = control.Rect();
        OffsetRect(&rect, -origin.x, -origin.y);
        CHECK(SameRect(rect, p.rect));
        // No page completes without a network: the panels stay hidden over their pictures.
        CHECK(control.IsVisible() == (p.id != IDC_WEB_TOP && p.id != IDC_WEB_BOTTOM));
    }

    const int stacking[] = {IDC_ST_VERSION, IDC_ST_TITLE, IDC_WEB_BOTTOM, IDC_WEB_TOP, IDC_PIC_BOTTOM, IDC_PIC_TOP,
                            IDC_BTN_MAPS, IDC_BTN_124E8M, IDC_BTN_120E4M, IDC_BTN_126, IDC_BTN_124E, IDC_BTN_120E,
                            IDC_BTN_START, IDC_BTN_MINIMIZE, IDC_BTN_CLOSE, IDC_ST_RUNCOUNT, IDC_ST_HOMEPAGE,
                            IDC_ST_LASTRUN};
    std::vector<int> expected(std::begin(stacking), std::end(stacking));
    std::vector<int> actual;
    for (const Window& child : dialog.Children()) actual.push_back(child.Id());
    CHECK(actual == expected);
}

TEST_CASE("pressing on the background drags the window; pressing on a button does not")
{
    RunningLauncher game;
    REQUIRE_MESSAGE(game.dialog, Utf8(game.launcher.Describe()));
    struct Case { const char* where; POINT press; bool moves; };
    const Case cases[] = {
        {"between the version buttons", {80, 147}, true},
        {"the 1.26 button, released outside it", {80, 214}, false},
    };
    const POINT offset = {40, 30};
    for (const Case& c : cases) {
        CAPTURE(c.where);
        RECT before = game.dialog.Rect();
        POINT from = ClientToScreenPoint(game.dialog, c.press);
        REQUIRE(Mouse::Drag(from, {from.x + offset.x, from.y + offset.y}));
        RECT expected = before;
        if (c.moves) OffsetRect(&expected, offset.x, offset.y);
        CHECK(WaitUntil([&] { return SameRect(game.dialog.Rect(), expected); }, 3000));
        RECT after = game.dialog.Rect();
        CAPTURE(after.left - before.left);
        CAPTURE(after.top - before.top);
        CHECK(SameRect(after, expected));
    }
    CHECK(game.launcher.IsRunning());
    CHECK(game.launcher.TopLevelWindows().size() == 1);
}

TEST_CASE("the minimise button minimises; restoring redraws the whole window")
{
    RunningLauncher game;
    REQUIRE_MESSAGE(game.dialog, Utf8(game.launcher.Describe()));
    // Away from the window, so that nothing is lit by the pointer in either picture.
    Mouse::MoveTo({0, 0});
    PixelImage before = SettledPixels(game.dialog.Rect());
    REQUIRE_FALSE(before.IsEmpty());
    REQUIRE(game.dialog.Control(IDC_BTN_MINIMIZE).Click());
    CHECK(WaitUntil([&] { return IsIconic(game.dialog.Handle()) != FALSE; }, 5000));
    // What the taskbar button does.
    PostMessageW(game.dialog.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    CHECK(WaitUntil([&] { return !IsIconic(game.dialog.Handle()); }, 5000));
    PixelImage after = SettledPixels(game.dialog.Rect());
    CAPTURE(after.CountDifferences(before));
    CHECK(after == before);
}

TEST_CASE("the start button starts war3.exe in the game directory and the launcher exits with 0")
{
    LauncherFolder game;
    REQUIRE(game.folder.CopyIn(BuildFile(kRecorder), L"war3.exe"));
    // Started from elsewhere, as from a shortcut: the game must still start in its own folder.
    TempFolder elsewhere;
    REQUIRE(game.Start(elsewhere.Path()));
    Window dialog = game.WaitForDialog();
    REQUIRE_MESSAGE(dialog, Utf8(game.launcher.Describe()));
    REQUIRE(dialog.Control(IDC_BTN_START).Click());
    auto status = game.launcher.WaitForExit();
    REQUIRE(status.has_value());
    CHECK(*status == 0);
    CHECK(WaitUntil([&] { return !StandInStarts(game.folder).empty(); }));
    std::vector<StandInStart> starts = StandInStarts(game.folder);
    REQUIRE(starts.size() == 1);
    CHECK(Utf8(starts[0].workingDirectory) == Utf8(game.folder.Path()));
    CHECK(Utf8(starts[0].commandLine) == Utf8(L"\"" + game.folder.PathOf(L"war3.exe") + L"\""));
    CHECK(Utf8(starts[0].gameDll) == "1, 24, 4, 6387");
}

TEST_CASE("each click on the site button hands the home page to the shell")
{
    TempFolder browser;
    REQUIRE(browser.CopyIn(BuildFile(kRecorder), L"browser.exe"));
    const std::wstring browserPath = browser.PathOf(L"browser.exe");
    std::wstring page = kHomePage;
    ShellCommand handler(page.substr(0, page.find(L':')) + L"\\shell\\open\\command", L"\"" + browserPath + L"\" \"%1\"");
    REQUIRE(handler.IsSet());
    RunningLauncher game;
    REQUIRE_MESSAGE(game.dialog, Utf8(game.launcher.Describe()));
    for (size_t click = 1; click <= 2; ++click) {
        REQUIRE(game.dialog.Control(IDC_BTN_MAPS).Click());
        CHECK(WaitUntil([&] { return StandInStarts(browser).size() == click; }));
    }
    std::vector<StandInStart> starts = StandInStarts(browser);
    CHECK(starts.size() == 2);
    for (const StandInStart& start : starts)
        CHECK(Utf8(start.commandLine) == Utf8(L"\"" + browserPath + L"\" \"" + kHomePage + L"\""));
    CHECK(game.launcher.IsRunning());
    CHECK(game.dialog.IsVisible());
}

TEST_CASE("the window shows the background and each button's normal picture, and nothing outside its outline")
{
    RunningLauncher game;
    REQUIRE_MESSAGE(game.dialog, Utf8(game.launcher.Describe()));
    const RECT window = game.dialog.Rect();
    Backdrop backdrop(window, RGB(0, 160, 60));
    SetWindowPos(game.dialog.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Mouse::MoveTo({0, 0});
    const PixelImage background = LauncherPicture(game.LauncherPath(), IDB_BACKGROUND);
    REQUIRE(background.Width() == 476);
    REQUIRE(background.Height() == 491);

    const PixelImage withLabels = SettledPixels(window);
    for (int id : kLabels) ShowWindow(game.dialog.Control(id).Handle(), SW_HIDE);
    const PixelImage bare = SettledPixels(window);
    ShowWindow(game.dialog.Handle(), SW_HIDE);
    const PixelImage behind = SettledPixels(window);
    REQUIRE(bare.Width() == 476);

    // Without its labels: the background where it is not key-coloured, what lies behind where it is,
    // and each button's and picture static's picture over it, as far as the picture reaches.
    PixelImage pictures[sizeof kLayout / sizeof kLayout[0]];
    for (size_t i = 0; i < sizeof kLayout / sizeof kLayout[0]; ++i)
        if (kLayout[i].picture) pictures[i] = LauncherPicture(game.LauncherPath(), kLayout[i].picture);
    size_t wrong = 0;
    int firstX = -1, firstY = -1;
    for (int y = 0; y < bare.Height(); ++y) {
        for (int x = 0; x < bare.Width(); ++x) {
            COLORREF expected = background.At(x, y) == kKey ? behind.At(x, y) : background.At(x, y);
            bool checked = true;
            for (size_t i = 0; i < sizeof kLayout / sizeof kLayout[0]; ++i) {
                const Placement& p = kLayout[i];
                const bool hidden = IsLabel(p.id) || p.id == IDC_WEB_TOP || p.id == IDC_WEB_BOTTOM;
                if (!Contains(p.rect, x, y) || hidden) continue;
                const COLORREF own = pictures[i].At(x - p.rect.left, y - p.rect.top);
                if (!p.picture) checked = false;
                else if (own != kKey && own != CLR_INVALID) expected = own;
            }
            if (checked && bare.At(x, y) != expected && wrong++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    CAPTURE(firstX);
    CAPTURE(firstY);
    CHECK(wrong == 0);

    // A window first shown over the backdrop would show it even unshaped: the outline is read too.
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    REQUIRE(GetWindowRgn(game.dialog.Handle(), outline) != ERROR);
    size_t misplaced = 0;
    for (int y = 0; y < background.Height(); ++y)
        for (int x = 0; x < background.Width(); ++x)
            misplaced += (PtInRegion(outline, x, y) != FALSE) != (background.At(x, y) != kKey);
    DeleteObject(outline);
    CHECK(misplaced == 0);

    // The labels draw their text and leave the rest of their rectangles to what lies below.
    size_t outside = 0;
    for (int y = 0; y < bare.Height(); ++y)
        for (int x = 0; x < bare.Width(); ++x)
            if (withLabels.At(x, y) != bare.At(x, y) && !Contains(PlacementOf(IDC_ST_TITLE).rect, x, y) &&
                !Contains(PlacementOf(IDC_ST_VERSION).rect, x, y))
                ++outside;
    CHECK(outside == 0);
    for (int id : kLabels) {
        CAPTURE(id);
        const Placement& label = PlacementOf(id);
        size_t inside = 0, changed = 0;
        // Where the title lies over the top panel, the panel's own painting decides.
        for (int y = label.rect.top; y < label.rect.bottom && y < bare.Height(); ++y)
            for (int x = label.rect.left; x < label.rect.right && x < bare.Width(); ++x) {
                if (Contains(PlacementOf(IDC_WEB_TOP).rect, x, y)) continue;
                ++inside;
                changed += withLabels.At(x, y) != bare.At(x, y);
            }
        CHECK(changed > 0);
        CHECK(changed * 3 < inside);
    }
}
