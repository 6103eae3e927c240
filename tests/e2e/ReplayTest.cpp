#include "LauncherFolder.h"
#include "PackageContents.h"
#include "TestReplay.h"
#include "Utf8.h"
#include <doctest/doctest.h>
#include <optional>

namespace {

const std::wstring kTrip = L"~kelvadi-replay";
const std::wstring kCopy = L"Replay\\kelvadi-replay.w3g";

// A game folder holding 1.20E, as a switch from the window left it, with the launcher ended.
struct Game120E : LauncherFolder {
    Game120E()
    {
        REQUIRE(Start());
        Window dialog = WaitForDialog();
        REQUIRE_MESSAGE(dialog, Utf8(launcher.Describe()));
        dialog.Command(IDC_BTN_120E);
        MessageBoxWindow box(launcher.WaitForMessageBox(L"版本转换成功提示", 60000));
        REQUIRE(box.Press(IDOK));
        box.WaitUntilClosed();
        dialog.Command(IDC_BTN_CLOSE);
        REQUIRE(launcher.WaitForExit().has_value());
    }
    bool Holds(unsigned int package) const
    {
        for (const PackageFile& f : ReadPackage(package))
            if (folder.Read(f.name) != f.data) return false;
        return true;
    }
    // The launcher started as Explorer's Open starts it, on the replay.
    bool Open(const std::wstring& replay, const std::wstring& workingDir)
    {
        launcher = Process::Start(LauncherPath(), L"\"" + replay + L"\"", workingDir);
        return launcher.Started();
    }
};

unsigned long long FileIndex(const TempFolder& folder, const std::wstring& name)
{
    CHandle file(CreateFileW(folder.PathOf(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file, &info)) return 0;
    return (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

} // namespace

TEST_CASE("a replay opens in its own version, the game plays it from the game folder, and the version before comes back")
{
    struct Case {
        const char* name;
        uint32_t version;
        const wchar_t* file;
        std::string wrapper;      // a platform's own bytes before the replay
        const wchar_t* gameDll;   // what the game ran on
        bool copied;              // given to the game as a copy in the game folder
        bool relative = false;    // named relative to the folder the launcher is started in
    };
    const Case cases[] = {
        {"1.24 in 1.20E", 24, L"my games\\one.w3g", "", L"1, 24, ", false},
        {"a wrapped replay under a name of its own", 24, L"对战 录像.nwg", std::string(300, '\x07'), L"1, 24, ", true},
        {"1.20 in 1.20E: nothing switched", 20, L"old.w3g", "", L"1, 20, ", false},
        {"named from where the launcher starts", 24, L"my games\\one.w3g", "", L"1, 24, ", false, true},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        Game120E game;
        const unsigned long long dllBefore = FileIndex(game.folder, L"game.dll");
        REQUIRE(dllBefore != 0);
        TempFolder replays;
        REQUIRE(replays.MakeFolder(L"my games"));
        REQUIRE(replays.Write(c.file, c.wrapper + ReplayOfVersion(c.version)));
        // The game plays on for a moment: the launcher must wait for it.
        REQUIRE(game.folder.Write(L"war3_wait.txt", "1500"));
        REQUIRE(c.relative ? game.Open(c.file, replays.Path()) : game.Open(replays.PathOf(c.file), game.folder.Path()));

        REQUIRE(WaitUntil([&] { return !StandInStarts(game.folder).empty(); }, 60000));
        CHECK(game.launcher.IsRunning());
        if (c.version == 24) CHECK(game.Holds(IDR_PACKAGE_124E));
        auto status = game.launcher.WaitForExit(60000);
        REQUIRE_MESSAGE(status.has_value(), Utf8(game.launcher.Describe()));
        CHECK(*status == 0);

        std::vector<StandInStart> starts = StandInStarts(game.folder);
        REQUIRE(starts.size() == 1);
        CHECK(Utf8(starts[0].gameDll).rfind(Utf8(c.gameDll), 0) == 0);
        CHECK(Utf8(starts[0].workingDirectory) == Utf8(game.folder.Path()));
        const std::wstring given = c.copied ? game.folder.PathOf(kCopy) : replays.PathOf(c.file);
        CHECK(Utf8(starts[0].commandLine) ==
              Utf8(L"\"" + game.folder.PathOf(L"war3.exe") + L"\" -loadfile \"" + given + L"\""));
        // 1.20E whole again, and said so; nothing of the trip is left.
        CHECK(game.Holds(IDR_PACKAGE_120E));
        CHECK(Utf8(game.StoredVersion()) == Utf8(L"当前版本:1.20E"));
        CHECK_FALSE(game.folder.Exists(kTrip));
        CHECK_FALSE(game.folder.Exists(kCopy));
        if (c.version == 20) CHECK(FileIndex(game.folder, L"game.dll") == dllBefore);
    }
}

TEST_CASE("a replay that cannot be played is refused with its reason, and nothing is written or started")
{
    struct Case { const char* name; std::optional<std::string> bytes; const wchar_t* says; };
    ReplayFields roc;
    roc.product = "3RAW";
    const std::string whole = ReplayOfVersion(24);
    const Case cases[] = {
        {"not a replay", std::string("PK\x03\x04 an archive"), L"不是魔兽争霸 III 的录像文件"},
        {"cut in its header", whole.substr(0, 40), L"不完整"},
        {"empty", std::string(), L"是空的"},
        {"missing", std::nullopt, L"无法打开录像文件"},
        {"of a version not carried", ReplayOfVersion(27), L" 1.27 版录制"},
        {"of the game without its expansion", ReplayBytes(roc), L"《混乱之治》"},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        LauncherFolder game;
        TempFolder replays;
        if (c.bytes) REQUIRE(replays.Write(L"r.w3g", *c.bytes));
        game.launcher = Process::Start(game.LauncherPath(), L"\"" + replays.PathOf(L"r.w3g") + L"\"", game.folder.Path());
        Window refusal = game.launcher.WaitForMessageBox(L"播放录像");
        REQUIRE_MESSAGE(refusal, Utf8(game.launcher.Describe()));
        MessageBoxWindow box(refusal);
        CHECK(Utf8(box.Text()).find(Utf8(c.says)) != std::string::npos);
        CHECK(box.Press(IDOK));
        Window dialog = game.WaitForDialog();
        REQUIRE(dialog);
        dialog.Command(IDC_BTN_CLOSE);
        REQUIRE(game.launcher.WaitForExit().has_value());
        CHECK(StandInStarts(game.folder).empty());
        CHECK_FALSE(game.folder.Exists(kTrip));
        CHECK(game.StoredVersion().find(L"1.24") != std::wstring::npos);
    }
}

TEST_CASE("a launcher ended while its replay plays leaves word: the next start offers the version from before")
{
    Game120E game;
    TempFolder replays;
    REQUIRE(replays.Write(L"one.w3g", ReplayOfVersion(24)));
    REQUIRE(game.folder.Write(L"war3_wait.txt", "30000"));
    REQUIRE(game.Open(replays.PathOf(L"one.w3g"), game.folder.Path()));
    REQUIRE(WaitUntil([&] { return !StandInStarts(game.folder).empty(); }, 60000));
    REQUIRE(game.launcher.Kill());
    CHECK(game.Holds(IDR_PACKAGE_124E));
    CHECK(game.folder.Exists(kTrip));

    REQUIRE(game.Start());
    Window question = game.launcher.WaitForMessageBox(L"播放录像", 30000);
    REQUIRE_MESSAGE(question, Utf8(game.launcher.Describe()));
    MessageBoxWindow asked(question);
    CHECK(Utf8(asked.Text()).find(Utf8(L"是否恢复为 1.20E？")) != std::string::npos);
    CHECK(asked.Press(IDYES));
    MessageBoxWindow done(game.launcher.WaitForMessageBox(L"版本转换成功提示", 60000));
    CHECK(done.Press(IDOK));
    CHECK(WaitUntil([&] { return !game.folder.Exists(kTrip); }));
    CHECK(game.Holds(IDR_PACKAGE_120E));
    CHECK(Utf8(game.StoredVersion()) == Utf8(L"当前版本:1.20E"));
}
