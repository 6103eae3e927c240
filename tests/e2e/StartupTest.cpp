#include "BuildFile.h"
#include "LauncherFolder.h"
#include "Utf8.h"
#include "res/resource.h"
#include <doctest/doctest.h>

namespace {

const wchar_t kRefusal[] = L"请把程序放到魔兽安装目录后使用！";

std::string Utf16File(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return bytes;
}

void CheckRefusal(LauncherFolder& game, const std::wstring& expectedFolder, const std::wstring& caption)
{
    REQUIRE(game.launcher.Started());
    Window box = game.launcher.WaitForMessageBox();
    REQUIRE_MESSAGE(box, Utf8(game.launcher.Describe()));
    MessageBoxWindow message(box);
    CHECK(Utf8(message.Text()) == Utf8(kRefusal + expectedFolder));
    CHECK(Utf8(message.Caption()) == Utf8(caption));
    CHECK(message.ButtonIds() == std::vector<int>{IDOK});
    CHECK(message.Icon() == MessageBoxIcon::None);
    for (const Window& w : game.launcher.TopLevelWindows()) CHECK_FALSE(IsLauncherDialog(w));
    REQUIRE(message.Press(IDOK));
    auto status = game.launcher.WaitForExit();
    REQUIRE(status.has_value());
    CHECK(*status == 0);
}

} // namespace

TEST_CASE("without war3.exe the launcher names its folder, exits with 0 and touches nothing")
{
    LauncherFolder game(L"versiondll\\v124.dll", false);
    // The caption is the executable's own name without extension, whatever it is called.
    REQUIRE(CopyFileW(BuildFile(L"vorelin.exe").c_str(), game.folder.PathOf(L"启动器 copy.exe").c_str(), FALSE));
    game.launcher = Process::Start(game.folder.PathOf(L"启动器 copy.exe"), L"", game.folder.Path());
    CheckRefusal(game, game.folder.Path(), L"启动器 copy");
    CHECK_FALSE(game.folder.Exists(L"wargame.ini"));
}

TEST_CASE("a folder named war3.exe counts as the game")
{
    LauncherFolder game(L"versiondll\\v124.dll", false);
    REQUIRE(game.folder.MakeFolder(L"war3.exe"));
    REQUIRE(game.Start());
    CHECK(game.WaitForDialog());
}

TEST_CASE("the game directory is the executable's folder, not the working directory")
{
    LauncherFolder game;
    TempFolder elsewhere;
    REQUIRE(elsewhere.CopyIn(BuildFile(L"tests\\driver_target.exe"), L"war3.exe"));
    REQUIRE(game.Start(elsewhere.Path()));
    Window dialog = game.WaitForDialog();
    REQUIRE_MESSAGE(dialog, Utf8(game.launcher.Describe()));
    CHECK(dialog.Control(IDC_ST_VERSION).WaitForText(L"当前版本:1.24E"));
    CHECK(Utf8(game.StoredVersion()) == Utf8(L"当前版本:1.24E"));
    CHECK_FALSE(elsewhere.Exists(L"wargame.ini"));
}

TEST_CASE("at a drive root the game directory is the bare drive")
{
    // R: is the test run's own drive, mapped by the test runner to an empty folder.
    const std::wstring root = L"R:";
    DeleteFileW(L"R:\\war3.exe");
    DeleteFileW(L"R:\\wargame.ini");
    REQUIRE(CopyFileW(BuildFile(L"vorelin.exe").c_str(), L"R:\\vorelin.exe", FALSE));
    {
        LauncherFolder game(L"", false);
        game.launcher = Process::Start(L"R:\\vorelin.exe", L"", L"R:\\");
        CheckRefusal(game, root, L"vorelin");
    }
    REQUIRE(CopyFileW(BuildFile(L"tests\\driver_target.exe").c_str(), L"R:\\war3.exe", FALSE));
    {
        LauncherFolder game(L"", false);
        game.launcher = Process::Start(L"R:\\vorelin.exe", L"", L"R:\\");
        CHECK(game.launcher.WaitForWindow(IsLauncherDialog));
        game.launcher.Kill();
    }
    CHECK(GetFileAttributesW(L"R:\\wargame.ini") != INVALID_FILE_ATTRIBUTES);
    DeleteFileW(L"R:\\war3.exe");
    DeleteFileW(L"R:\\wargame.ini");
    DeleteFileW(L"R:\\vorelin.exe");
}

TEST_CASE("a stored version without its files gives way to the detected one")
{
    struct Case {
        const wchar_t* gameDll;  // empty: a game.dll without version information
        std::string ini;         // empty: no file
        const wchar_t* label;
        bool written;
        const wchar_t* stored;
    };
    const Case cases[] = {
        {L"versiondll\\v124.dll", "", L"当前版本:1.24E", true, L"当前版本:1.24E"},
        {L"versiondll\\vtwo.dll", Utf16File(L"[GameMain]\r\nBanBen=当前版本:1.20E+4M\r\n"), L"当前版本:1.26", true,
         L"当前版本:1.26"},
        {L"versiondll\\v124.dll", "[GameMain]\r\nBanBen=hand edited\r\n", L"当前版本:1.24E", true, L"当前版本:1.24E"},
        {L"", "[GameMain]\r\nBanBen=\r\n", L"", true, L""},
    };
    for (const Case& c : cases) {
        CAPTURE(Utf8(c.label));
        LauncherFolder game(c.gameDll);
        if (!*c.gameDll) REQUIRE(game.folder.Write(L"game.dll", "MZ but no version"));
        if (!c.ini.empty()) REQUIRE(game.folder.Write(L"wargame.ini", c.ini));
        REQUIRE(game.Start());
        Window dialog = game.WaitForDialog();
        REQUIRE_MESSAGE(dialog, Utf8(game.launcher.Describe()));
        CHECK(Utf8(dialog.Control(IDC_ST_VERSION).Text()) == Utf8(c.label));
        game.launcher.Kill();
        CHECK(Utf8(game.StoredVersion()) == Utf8(c.stored));
        if (!c.written) CHECK(*game.folder.Read(L"wargame.ini") == c.ini);
    }
}

TEST_CASE("Enter, Escape, Alt+F4 and Close leave the dialog open; the close button ends it")
{
    LauncherFolder game;
    REQUIRE(game.Start());
    Window dialog = game.WaitForDialog();
    REQUIRE(dialog);
    CHECK(dialog.HasStyle(WS_SYSMENU | WS_MINIMIZEBOX));
    CHECK_FALSE(dialog.HasStyle(WS_CAPTION));
    CHECK((dialog.ExStyle() & WS_EX_APPWINDOW) != 0);
    CHECK(dialog.PressEnter());
    CHECK(dialog.PressEscape());
    CHECK(dialog.PressAltF4());
    CHECK(dialog.SendClose());
    // A close would follow the posted keys within milliseconds; what must not happen gets a
    // bounded second to show itself.
    CHECK_FALSE(game.launcher.WaitForExit(1000).has_value());
    DWORD_PTR answer = 0;
    CHECK(SendMessageTimeoutW(dialog.Handle(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0);
    CHECK(game.launcher.IsRunning());
    CHECK(dialog.IsVisible());
    CHECK(dialog.Control(IDC_BTN_CLOSE).Click());
    auto status = game.launcher.WaitForExit();
    REQUIRE(status.has_value());
    CHECK(*status == 0);
}
