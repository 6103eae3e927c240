#include "switching/FaultPoint.h"
#include "switching/StoredVersion.h"
#include "switching/VersionSwitch.h"
#include "TempFolder.h"
#include "TestArchive.h"
#include "TestPackages.h"
#include "framework/CHandle.h"
#include <doctest/doctest.h>
#include <functional>

namespace {

const std::wstring kJournal = L"~kelvadi-switch\\journal";

// A fault hook that runs the action at the first pass of the named point.
std::function<void()> g_action;
std::string g_point;
void AtPoint(const char* name)
{
    if (name && g_point == name && g_action) {
        g_point.clear();
        g_action();
    }
}
struct HookAt {
    HookAt(const char* point, std::function<void()> action)
    {
        g_point = point;
        g_action = std::move(action);
        SetFaultHook(AtPoint);
    }
    ~HookAt() { SetFaultHook(nullptr); }
};

// A game folder of version "old" (two files), the packages of "old" and "new", and the record.
struct Game {
    TempFolder folder;
    Game()
    {
        g_packages = {{IDR_PACKAGE_124E, BuildArchive({File("war3.exe", "old exe"), File("game.dll", "old dll")})},
                      {IDR_PACKAGE_120E, BuildArchive({File("war3.exe", "new exe!"), File("game.dll", "new dll!")})}};
        REQUIRE(folder.Write(L"war3.exe", "old exe"));
        REQUIRE(folder.Write(L"game.dll", "old dll"));
        REQUIRE(WriteStoredVersion(folder.Path().c_str(), L"old"));
    }
    SwitchOutcome Switch()
    {
        SwitchOutcome outcome;
        VersionSwitch(folder.Path().c_str(), FindTestPackage).Run({{IDR_PACKAGE_120E, 0}, L"new", L"done"}, outcome);
        return outcome;
    }
    bool IsOld() const { return folder.Read(L"war3.exe") == "old exe" && folder.Read(L"game.dll") == "old dll"; }
    bool IsNew() const { return folder.Read(L"war3.exe") == "new exe!" && folder.Read(L"game.dll") == "new dll!"; }
    CString Record() const { return ReadStoredVersion(folder.Path().c_str()); }
};

} // namespace

TEST_CASE("start-up touches nothing of an interrupted switch it cannot read")
{
    struct Case { const char* name; bool journal; bool damaged; bool held; };
    const Case cases[] = {
        {"originals set aside, no journal", false, false, false},
        {"a damaged journal", true, true, false},
        {"a journal another program holds", true, false, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Game game;
        REQUIRE(game.folder.MakeFolder(SwitchTransaction::kStagingFolder));
        REQUIRE(game.folder.Write(L"~kelvadi-switch\\0.old", "the player's"));
        REQUIRE(game.folder.Write(L"~kelvadi-switch\\0.new", "new dll!"));
        if (c.journal) {
            SwitchJournal journal;
            journal.label = L"new";
            journal.entries = {{0, L"game.dll", 8, Crc32Of("new dll!"), true, true}};
            REQUIRE(journal.Write(game.folder.PathOf(kJournal)) == 0);
        }
        if (c.damaged) REQUIRE(game.folder.Write(kJournal, game.folder.Read(kJournal)->substr(4)));
        CHandle held = c.held ? Hold(game.folder, kJournal) : CHandle();
        CHECK(SwitchTransaction(game.folder.Path().c_str()).Recover() == RecoveryResult::Unreadable);
        CHECK(game.folder.Read(L"~kelvadi-switch\\0.old") == "the player's");
        CHECK(game.folder.Read(L"~kelvadi-switch\\0.new") == "new dll!");
        // Nor may a switch begin over it.
        SwitchOutcome outcome = game.Switch();
        CHECK(outcome.stop == SwitchStop::EarlierPending);
        CHECK(game.IsOld());
        CHECK(game.folder.Read(L"~kelvadi-switch\\0.old") == "the player's");
    }
}

TEST_CASE("a staged file taken before the commit, or a journal held through a roll-back: the old version, and it stays so")
{
    struct Case { const char* point; bool holdJournal; bool lost; };
    const Case cases[] = {
        {"staged", false, true},  // gone before the flush: nothing begins
        {"journal", false, false}, // gone after the journal: its replacement is refused and undone
        {"journal", true, false},  // ... with the journal held, which must not send the next start forward
    };
    for (const Case& c : cases) {
        CAPTURE(c.point);
        CAPTURE(c.holdJournal);
        Game game;
        CHandle journal;
        HookAt hook(c.point, [&] {
            DeleteFileW(game.folder.PathOf(L"~kelvadi-switch\\1.new").c_str());
            if (c.holdJournal) journal = Hold(game.folder, kJournal);
        });
        SwitchOutcome outcome = game.Switch();
        CHECK(outcome.stop == (c.lost ? SwitchStop::StagedLost : SwitchStop::CommitRefused));
        CHECK(outcome.file == CString(L"game.dll"));
        CHECK(game.IsOld());
        CHECK(game.Record() == CString(L"old"));
        journal.Close();
        CHECK(SwitchTransaction(game.folder.Path().c_str()).Recover() ==
              (c.holdJournal ? RecoveryResult::RolledBack : RecoveryResult::Nothing));
        CHECK(game.IsOld());
        CHECK(game.Record() == CString(L"old"));
        CHECK(ListTree(game.folder.Path()) == std::vector<std::wstring>{L"game.dll", L"war3.exe", L"wargame.ini"});
    }
}

TEST_CASE("a player's file that has an entry's size and time but not its contents is kept, not deleted")
{
    Game game;
    // Patched in place, its time put back, as patching tools do.
    REQUIRE(game.folder.Write(L"game.dll", "own dll"));
    FILETIME entryTime{};
    SYSTEMTIME local{2014, 4, 0, 20, 17, 31, 34, 0}, utc{};
    REQUIRE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    REQUIRE(SystemTimeToFileTime(&utc, &entryTime));
    {
        CHandle file(CreateFileW(game.folder.PathOf(L"game.dll").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        REQUIRE(SetFileTime(file, nullptr, nullptr, &entryTime));
    }
    SwitchOutcome outcome = game.Switch();
    CHECK(outcome.Complete());
    CHECK(game.IsNew());
    CHECK(outcome.keptOriginals == std::vector<CString>{L"game.dll"});
    CHECK(game.folder.Read(std::wstring(SwitchTransaction::kBackupFolder) + L"\\game.dll") == "own dll");
}

TEST_CASE("files an archive marks read-only, hidden or system are installed plain, so the next switch may replace them")
{
    Game game;
    TestEntry marked = File("war3.exe", "new exe!");
    marked.external = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    g_packages[IDR_PACKAGE_120E] = BuildArchive({marked, File("game.dll", "new dll!")});
    // The second package replaces the first one's read-only file in the staging.
    g_packages[IDR_PACKAGE_120E_4M] = BuildArchive({File("War3.exe", "4m exe!!")});
    SwitchOutcome outcome;
    VersionSwitch(game.folder.Path().c_str(), FindTestPackage)
        .Run({{IDR_PACKAGE_120E, IDR_PACKAGE_120E_4M}, L"new", L"done"}, outcome);
    CHECK(outcome.Complete());
    CHECK(game.folder.Read(L"war3.exe") == "4m exe!!");
    DWORD attributes = GetFileAttributesW(game.folder.PathOf(L"war3.exe").c_str());
    CHECK((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0);
    CHECK(game.Switch().Complete());
}
