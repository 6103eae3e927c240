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
