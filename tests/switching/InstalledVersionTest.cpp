#include "switching/InstalledVersion.h"
#include "switching/StoredVersion.h"
#include "TempFolder.h"
#include "TestArchive.h"
#include "TestPackages.h"
#include "Utf8.h"
#include <doctest/doctest.h>

namespace {

// 1.20E and 1.24E of two files each, of equal sizes, so that only times and contents tell them apart.
void TwoVersions()
{
    g_packages = {{IDR_PACKAGE_120E, BuildArchive({File("war3.exe", "exe 120"), File("game.dll", "dll 120")})},
                  {IDR_PACKAGE_124E, BuildArchive({File("war3.exe", "exe 124"), File("game.dll", "dll 124")})}};
}

// Gives the file the time its entry of the package has, as a switch does.
void TakeEntryTime(const TempFolder& game, const wchar_t* name, unsigned int package)
{
    std::vector<PackageEntry> entries;
    const std::string& data = g_packages[package];
    REQUIRE(ListPackageEntries(data.data(), data.size(), entries));
    for (const PackageEntry& e : entries) {
        if (e.name != CString(name)) continue;
        HANDLE file = CreateFileW(game.PathOf(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(file != INVALID_HANDLE_VALUE);
        CHECK(SetFileTime(file, nullptr, nullptr, &e.modified));
        CloseHandle(file);
    }
}

} // namespace

TEST_CASE("a file is the variant's by size and the entry's time, else by its contents; no other way")
{
    struct Case { const char* name; const char* dll; bool entryTime; bool matches; bool matchesByTimes; };
    const Case cases[] = {
        {"written by a switch", "dll 120", true, true, true},
        {"copied without its time", "dll 120", false, true, false},
        {"another version's, same size", "dll 124", false, false, false},
        {"other size", "dll 1200", false, false, false},
        // Size and time are trusted for the label: no switch writes such a file, and reading every
        // file of five versions at each start would cost the player seconds.
        {"other contents at the entry's time", "dll 999", true, true, true},
    };
    TwoVersions();
    for (const Case& c : cases) {
        CAPTURE(c.name);
        TempFolder game;
        REQUIRE(game.Write(L"war3.exe", "exe 120"));
        REQUIRE(game.Write(L"game.dll", c.dll));
        TakeEntryTime(game, L"war3.exe", IDR_PACKAGE_120E);
        if (c.entryTime) TakeEntryTime(game, L"game.dll", IDR_PACKAGE_120E);
        std::vector<DifferingFile> differing;
        CHECK(InstalledVersion(game.Path(), FindTestPackage).Matches(kVariant120E, &differing) == c.matches);
        CHECK(differing.size() == (c.matches ? 0u : 1u));
        CHECK(InstalledVersion(game.Path(), FindTestPackage).Matches(kVariant120E, nullptr, false) == c.matchesByTimes);
    }
}

TEST_CASE("the start-up label: the record while its files are whole, else the files' version, else game.dll's; the record follows under the lock")
{
    const wchar_t* const k120 = kVariant120E.label;
    const wchar_t* const k124 = kVariant124E.label;
    struct Case {
        const char* name;
        const char* exe;  // null: missing
        const char* dll;
        const wchar_t* record;
        bool mayRecord;
        const wchar_t* label;
        std::vector<DifferingFile> differing;  // of the recorded variant, told when no variant is whole
        const wchar_t* recordAfter;
    };
    const Case cases[] = {
        {"as recorded", "exe 120", "dll 120", k120, true, k120, {}, k120},
        {"another version's files", "exe 124", "dll 124", k120, true, k124, {}, k124},
        {"... without the lock", "exe 124", "dll 124", k120, false, k124, {}, k120},
        {"no record", "exe 124", "dll 124", L"", true, k124, {}, k124},
        {"a foreign label", "exe 120", "dll 120", L"mine", true, k120, {}, k120},
        {"a file changed", "exe 120", "dll 999", k120, true, L"detected", {{L"game.dll", false}}, L"detected"},
        {"a file missing", nullptr, "dll 120", k120, true, L"detected", {{L"war3.exe", true}}, L"detected"},
        {"neither, unrecorded", "exe 120", "dll 999", L"", true, L"detected", {}, L"detected"},
    };
    TwoVersions();
    for (const Case& c : cases) {
        CAPTURE(c.name);
        TempFolder game;
        if (c.exe) REQUIRE(game.Write(L"war3.exe", c.exe));
        REQUIRE(game.Write(L"game.dll", c.dll));
        if (*c.record) REQUIRE(WriteStoredVersion(game.Path(), c.record));
        LabelDecision decision = InstalledVersion(game.Path(), FindTestPackage).DecideLabel(c.record, [] { return CString(L"detected"); }, c.mayRecord);
        CHECK(Utf8(decision.label.Str()) == Utf8(c.label));
        CHECK((decision.unmatched != nullptr) == !c.differing.empty());
        REQUIRE(decision.differing.size() == c.differing.size());
        for (size_t i = 0; i < c.differing.size(); ++i) {
            CHECK(decision.differing[i].name == c.differing[i].name);
            CHECK(decision.differing[i].missing == c.differing[i].missing);
        }
        CHECK(Utf8(ReadStoredVersion(game.Path()).Str()) == Utf8(c.recordAfter));
    }
}
