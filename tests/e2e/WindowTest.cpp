#include "BuildFile.h"
#include "LauncherFolder.h"
#include "Mouse.h"
#include "ScreenPixels.h"
#include "Utf8.h"
#include "res/resource.h"
#include <doctest/doctest.h>

namespace {

// The recording stand-in: notes its working directory and command line at each start.
const wchar_t kRecorder[] = L"packages\\stand-ins\\war3.exe";

POINT ClientToScreenPoint(const Window& dialog, POINT client)
{
    ClientToScreen(dialog.Handle(), &client);
    return client;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

// The window's pixels once two reads a moment apart agree, so that painting has finished.
ScreenPixels SettledPixels(const Window& dialog)
{
    ScreenPixels shot = ScreenPixels::Capture(dialog.Rect());
    WaitUntil([&] {
        Sleep(150);
        ScreenPixels next = ScreenPixels::Capture(dialog.Rect());
        bool settled = next == shot;
        shot = next;
        return settled;
    }, 5000, 0);
    return shot;
}

// Makes a program the shell's handler of the home page's scheme while it lives, as a browser's
// set-up does, and puts back what was there.
class SchemeHandler {
public:
    explicit SchemeHandler(const std::wstring& command)
    {
        std::wstring page = kHomePage;
        key_ = page.substr(0, page.find(L':')) + L"\\shell\\open\\command";
        wchar_t value[1024] = L"";
        LONG size = sizeof value;
        hadValue_ = RegQueryValueW(HKEY_CLASSES_ROOT, key_.c_str(), value, &size) == ERROR_SUCCESS;
        previous_ = value;
        set_ = Set(command);
    }
    ~SchemeHandler()
    {
        if (hadValue_) Set(previous_);
        else RegDeleteKeyW(HKEY_CLASSES_ROOT, key_.c_str());
    }
    bool IsSet() const { return set_; }

private:
    bool Set(const std::wstring& command) const
    {
        return RegSetValueW(HKEY_CLASSES_ROOT, key_.c_str(), REG_SZ, command.c_str(),
                            static_cast<DWORD>(command.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    std::wstring key_;
    std::wstring previous_;
    bool hadValue_ = false;
    bool set_ = false;
};

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

    struct Placement { int id; RECT rect; };
    const Placement layout[] = {
        {IDC_BTN_CLOSE, {440, 2, 469, 24}},      {IDC_BTN_MINIMIZE, {410, 2, 439, 24}},
        {IDC_BTN_START, {158, 170, 318, 220}},   {IDC_BTN_120E, {20, 110, 142, 139}},
        {IDC_BTN_124E, {20, 155, 142, 184}},     {IDC_BTN_126, {20, 200, 142, 229}},
        {IDC_BTN_120E4M, {330, 110, 462, 139}},  {IDC_BTN_124E8M, {330, 155, 462, 184}},
        {IDC_BTN_MAPS, {330, 200, 462, 229}},    {IDC_PIC_TOP, {7, 26, 469, 86}},
        {IDC_PIC_BOTTOM, {7, 256, 469, 486}},    {IDC_WEB_TOP, {7, 26, 469, 86}},
        {IDC_WEB_BOTTOM, {7, 256, 469, 486}},    {IDC_ST_TITLE, {5, 5, 505, 55}},
        {IDC_ST_VERSION, {155, 130, 455, 180}},
    };
    POINT origin = ClientToScreenPoint(dialog, {0, 0});
    for (const Placement& p : layout) {
        CAPTURE(p.id);
        Window control = dialog.Control(p.id);
        // The web panels come with their own component.
        if (!control && (p.id == IDC_WEB_TOP || p.id == IDC_WEB_BOTTOM)) continue;
        REQUIRE(control);
        RECT rect = control.Rect();
        OffsetRect(&rect, -origin.x, -origin.y);
        CHECK(SameRect(rect, p.rect));
        CHECK(control.IsVisible());
    }

    const int stacking[] = {IDC_ST_VERSION, IDC_ST_TITLE, IDC_WEB_BOTTOM, IDC_WEB_TOP, IDC_PIC_BOTTOM, IDC_PIC_TOP,
                            IDC_BTN_MAPS, IDC_BTN_124E8M, IDC_BTN_120E4M, IDC_BTN_126, IDC_BTN_124E, IDC_BTN_120E,
                            IDC_BTN_START, IDC_BTN_MINIMIZE, IDC_BTN_CLOSE, IDC_ST_RUNCOUNT, IDC_ST_HOMEPAGE,
                            IDC_ST_LASTRUN};
    std::vector<int> expected;
    for (int id : stacking)
        if (dialog.Control(id)) expected.push_back(id);
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
    ScreenPixels before = SettledPixels(game.dialog);
    REQUIRE_FALSE(before.IsEmpty());
    REQUIRE(game.dialog.Control(IDC_BTN_MINIMIZE).Click());
    CHECK(WaitUntil([&] { return IsIconic(game.dialog.Handle()) != FALSE; }, 5000));
    // What the taskbar button does.
    PostMessageW(game.dialog.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    CHECK(WaitUntil([&] { return !IsIconic(game.dialog.Handle()); }, 5000));
    ScreenPixels after = SettledPixels(game.dialog);
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
}

TEST_CASE("each click on the site button hands the home page to the shell")
{
    TempFolder browser;
    REQUIRE(browser.CopyIn(BuildFile(kRecorder), L"browser.exe"));
    const std::wstring browserPath = browser.PathOf(L"browser.exe");
    SchemeHandler handler(L"\"" + browserPath + L"\" \"%1\"");
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
