#include "switching/VersionSwitch.h"
#include "switching/SwitchTransaction.h"
#include "TempFolder.h"
#include "TestArchive.h"
#include "TestPackages.h"
#include "framework/CHandle.h"
#include <doctest/doctest.h>
#include <map>

namespace {

std::vector<PackageEntry> Entries(std::initializer_list<const wchar_t*> names)
{
    std::vector<PackageEntry> entries;
    for (const wchar_t* n : names) entries.push_back({n, 10, std::wstring(n).back() == L'/'});
    return entries;
}

} // namespace

TEST_CASE("the pre-check names each file that extraction could not replace, once")
{
    TempFolder game;
    for (const wchar_t* name : {L"war3.exe", L"game.dll", L"Storm.dll", L"hidden.mpq"}) REQUIRE(game.Write(name, "old"));
    REQUIRE(game.MakeFolder(L"maps"));
    REQUIRE(SetFileAttributesW(game.PathOf(L"Storm.dll").c_str(), FILE_ATTRIBUTE_READONLY));
    REQUIRE(SetFileAttributesW(game.PathOf(L"hidden.mpq").c_str(), FILE_ATTRIBUTE_HIDDEN));
    // A running game holds its files open without sharing them for writing.
    CHandle running(CreateFileW(game.PathOf(L"game.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    REQUIRE(running);

    auto blocked = SwitchPreflight::CheckTargets(
        game.Path(), Entries({L"war3.exe", L"game.dll", L"Storm.dll", L"hidden.mpq", L"new.dll", L"Game.dll", L"maps/"}));
    REQUIRE(blocked.size() == 3);
    CHECK(blocked[0].name == CString(L"game.dll"));
    CHECK(blocked[0].reason == ZipTargetState::InUse);
    CHECK(blocked[1].name == CString(L"Storm.dll"));
    CHECK(blocked[1].reason == ZipTargetState::Protected);
    CHECK(blocked[2].reason == ZipTargetState::Protected);
    running.Close();

    // Nothing was written or truncated by the check.
    CHECK(game.Read(L"war3.exe") == "old");
    CHECK(game.Read(L"game.dll") == "old");
    CHECK_FALSE(game.Exists(L"new.dll"));
    CHECK(SwitchPreflight::CheckTargets(game.Path(), Entries({L"war3.exe", L"game.dll"})).empty());
    // A folder where a file would go is no file to replace.
    CHECK(SwitchPreflight::CheckTargets(game.Path(), Entries({L"maps"}))[0].reason == ZipTargetState::Other);
}

TEST_CASE("room on the volume: enough, and more than any disk has")
{
    TempFolder game;
    unsigned long long available = 0;
    CHECK(SwitchPreflight::HasRoom(game.Path(), 1024, &available));
    CHECK(available >= 1024);
    CHECK_FALSE(SwitchPreflight::HasRoom(game.Path(), ~0ull, &available));
}

TEST_CASE("a package is listed from memory with names, sizes and folders; garbage is refused")
{
    TempFolder folder;
    REQUIRE(WriteMinizipArchive(folder.PathOf(L"made.zip"), {{"Storm.dll", std::string(5000, 's')}, {"war3.exe", "MZ"}}, nullptr));
    std::string archive = *folder.Read(L"made.zip");
    std::vector<PackageEntry> entries;
    REQUIRE(ListPackageEntries(archive.data(), archive.size(), entries));
    REQUIRE(entries.size() == 2);
    CHECK(entries[0].name == CString(L"Storm.dll"));
    CHECK(entries[0].uncompressedSize == 5000);
    CHECK(entries[1].name == CString(L"war3.exe"));
    TestEntry maps = File("maps/", "");
    maps.external = 0x10;
    std::string withFolder = BuildArchive({maps});
    REQUIRE(ListPackageEntries(withFolder.data(), withFolder.size(), entries));
    CHECK(entries[0].folder);
    std::string cut = archive.substr(0, archive.size() - 40);
    CHECK_FALSE(ListPackageEntries(cut.data(), cut.size(), entries));
    CHECK_FALSE(ListPackageEntries("not a zip", 9, entries));
    CHECK_FALSE(ListPackageEntries(nullptr, 0, entries));
}

TEST_CASE("a missing or a damaged package stops a switch before anything is written")
{
    const VersionVariant variant{{1, 2}, L"label", L"confirmation"};
    std::string damaged = BuildArchive({File("two.txt", "2"), File("three.txt", "3")});
    damaged[damaged.find("PK\x01\x02", damaged.find("PK\x01\x02") + 4) + 3] = 9;
    struct Case { const char* second; bool complete, damaged; std::vector<unsigned int> missing; bool oneWritten; };
    const Case cases[] = {
        {nullptr, false, false, {2}, false},
        {"damaged", false, true, {}, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.damaged);
        g_packages = {{1, BuildArchive({File("one.txt", "1")})}};
        if (c.second) g_packages[2] = damaged;
        TempFolder game;
        SwitchOutcome outcome;
        VersionSwitch(game.Path(), FindTestPackage).Run(variant, outcome);
        CHECK(outcome.finished);
        CHECK(outcome.Complete() == c.complete);
        CHECK(outcome.stop == (c.damaged ? SwitchStop::Damaged : SwitchStop::MissingPackages));
        CHECK(outcome.missingPackages == c.missing);
        CHECK(game.Exists(L"one.txt") == c.oneWritten);
        CHECK_FALSE(game.Exists(L"war_temp.zip"));
    }
}

TEST_CASE("a game folder deeper than MAX_PATH switches whole, and nothing lands elsewhere")
{
    const VersionVariant variant{{1, 0}, L"label", L"confirmation"};
    g_packages = {{1, BuildArchive({File("one.txt", "1"), File("two.txt", "2")})}};
    TempFolder top;
    std::wstring game = top.Path();
    while (game.size() < 300) {
        game += L"\\" + std::wstring(90, L'g');
        REQUIRE(CreateDirectoryW((L"\\\\?\\" + game).c_str(), nullptr));
    }
    SwitchOutcome outcome;
    VersionSwitch(game.c_str(), FindTestPackage).Run(variant, outcome);
    CHECK(outcome.Complete());
    CHECK(outcome.recordWritten);
    CHECK(ReadWholeFile(L"\\\\?\\" + game + L"\\two.txt") == "2");
    CHECK(ListTree(L"\\\\?\\" + game) == std::vector<std::wstring>{L"one.txt", L"two.txt", L"wargame.ini"});
    RemoveTree(L"\\\\?\\" + top.Path());
}

TEST_CASE("an original that cannot be kept yet is never removed, and no switch begins until a start has kept it")
{
    g_packages = {{1, BuildArchive({File("one.txt", "1")})}, {2, BuildArchive({File("two.txt", "2")})}};
    TempFolder game;
    REQUIRE(game.Write(L"one.txt", "mine"));
    // A file where the backup folder would go: nothing can be moved into it.
    REQUIRE(game.Write(SwitchTransaction::kBackupFolder, ""));
    SwitchOutcome first;
    VersionSwitch(game.Path(), FindTestPackage).Run({{1, 0}, L"one", L"done"}, first);
    CHECK(first.Complete());
    CHECK(first.unkeptOriginals == std::vector<CString>{L"one.txt"});
    CHECK(game.Read(L"one.txt") == "1");
    CHECK(game.Read(L"~kelvadi-switch\\0.old") == "mine");

    SwitchOutcome second;
    VersionSwitch(game.Path(), FindTestPackage).Run({{2, 0}, L"two", L"done"}, second);
    CHECK(second.stop == SwitchStop::EarlierPending);
    CHECK_FALSE(game.Exists(L"two.txt"));
    CHECK(game.Read(L"~kelvadi-switch\\0.old") == "mine");

    REQUIRE(DeleteFileW(game.PathOf(SwitchTransaction::kBackupFolder).c_str()));
    CHECK(SwitchTransaction(game.Path().c_str()).Recover() == RecoveryResult::RolledForward);
    CHECK(game.Read(std::wstring(SwitchTransaction::kBackupFolder) + L"\\one.txt") == "mine");
    CHECK_FALSE(game.Exists(L"~kelvadi-switch"));
}
