#include "switching/KeptVersions.h"
#include "framework/CHandle.h"
#include "switching/VersionSwitch.h"
#include "TempFolder.h"
#include "TestArchive.h"
#include "TestPackages.h"
#include "Utf8.h"
#include <doctest/doctest.h>
#include <algorithm>
#include <cstring>

namespace {

const VersionVariant kOld{{IDR_PACKAGE_124E, 0}, L"old", L"done"};
const VersionVariant kNew{{IDR_PACKAGE_120E, 0}, L"new", L"done"};

SwitchOutcome Switch(const TempFolder& game, const VersionVariant& variant)
{
    SwitchOutcome outcome;
    VersionSwitch(game.Path().c_str(), FindTestPackage).Run(variant, outcome);
    return outcome;
}

std::wstring KeptName(const std::string& data)
{
    wchar_t crc[12];
    wsprintfW(crc, L"%08lx", Crc32Of(data));
    return std::wstring(KeptVersions::kFolder) + L"\\" + crc + L"-" + std::to_wstring(data.size());
}

} // namespace

TEST_CASE("a switch back takes the displaced version's files from the kept versions, checked whole, with their entries' times")
{
    struct Case { const char* name; bool packageDamaged; bool changeKept; bool timesPutBack; };
    const Case cases[] = {
        // The package's entries cannot be extracted: only the kept files can make the switch.
        {"kept whole", true, false, false},
        // Same size, other contents: extracted instead, never taken.
        {"a kept file changed", false, true, false},
        {"a kept file changed, its times put back", false, true, true},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        g_packages = {{IDR_PACKAGE_124E, BuildArchive({File("war3.exe", "old exe"), File("game.dll", "old dll")})},
                      {IDR_PACKAGE_120E, BuildArchive({File("war3.exe", "new exe!"), File("game.dll", "new dll!")})}};
        TempFolder game;
        REQUIRE(Switch(game, kOld).Complete());
        REQUIRE(Switch(game, kNew).Complete());
        CHECK(game.Read(KeptName("old dll")) == "old dll");
        CHECK(game.Read(KeptName("old exe")) == "old exe");
        if (c.changeKept) {
            std::wstring path = game.PathOf(KeptName("old dll"));
            FILETIME created{}, accessed{}, written{};
            CHandle before(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            REQUIRE(GetFileTime(before, &created, &accessed, &written));
            before.Close();
            // Past the file system's clock tick in which the file was kept.
            Sleep(20);
            REQUIRE(game.Write(KeptName("old dll"), "odd dll"));
            CHandle after(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            if (c.timesPutBack) REQUIRE(SetFileTime(after, &created, &accessed, &written));
        }
        // Every entry's data zeroed, its headers kept: listed still, extracted never.
        for (size_t at = 0; c.packageDamaged && g_packages[IDR_PACKAGE_124E].compare(at, 4, "PK\3\4", 4) == 0;) {
            std::string& package = g_packages[IDR_PACKAGE_124E];
            uint32_t compressed = 0;
            uint16_t name = 0, extra = 0;
            std::memcpy(&compressed, &package[at + 18], 4);
            std::memcpy(&name, &package[at + 26], 2);
            std::memcpy(&extra, &package[at + 28], 2);
            at += 30 + name + extra;
            std::fill_n(package.begin() + at, compressed, '\0');
            at += compressed;
        }

        SwitchOutcome back = Switch(game, kOld);
        CHECK(back.Complete());
        CHECK(game.Read(L"game.dll") == "old dll");
        CHECK(game.Read(L"war3.exe") == "old exe");
        CHECK(game.Read(KeptName("new dll!")) == "new dll!");
        CHECK_FALSE(game.Exists(KeptName("old exe")));
        std::vector<PackageEntry> entries;
        REQUIRE(ListPackageEntries(g_packages[IDR_PACKAGE_124E].data(), g_packages[IDR_PACKAGE_124E].size(), entries));
        for (const PackageEntry& e : entries) {
            unsigned long long size = 0;
            FILETIME modified{};
            REQUIRE(ReadFileStamp(game.PathOf(e.name.Str()), &size, &modified));
            CHECK(CompareFileTime(&modified, &e.modified) == 0);
        }
    }
}

TEST_CASE("the kept versions stay within their limit and the volume's reserve, each content once")
{
    TempFolder game;
    struct Case { const char* name; unsigned long long limit, reserve; bool kept; };
    const Case cases[] = {
        {"room", 100, 0, true},
        {"over the limit", 5, 0, false},
        {"the volume would fall below the reserve", 100, ~0ull, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        REQUIRE(game.Write(L"game.dll", "old dll"));
        KeptVersions kept(GameFolder(game.Path().c_str()), c.limit, c.reserve);
        CHECK(kept.Keep(game.PathOf(L"game.dll"), Crc32Of("old dll")) == c.kept);
        CHECK(game.Exists(L"game.dll") != c.kept);
        if (!c.kept) continue;
        // The same contents once more: not kept twice.
        REQUIRE(game.Write(L"game.dll", "old dll"));
        CHECK_FALSE(kept.Keep(game.PathOf(L"game.dll"), Crc32Of("old dll")));
        CHECK((GetFileAttributesW(game.PathOf(KeptVersions::kFolder).c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0);
        REQUIRE(DeleteFileW(game.PathOf(KeptName("old dll")).c_str()));
    }
}

TEST_CASE("a file that holds its entry already stays in place with the entry's times; a later package's entry of its name still wins")
{
    const VersionVariant kTwo{{IDR_PACKAGE_120E, IDR_PACKAGE_120E_4M}, L"two", L"done"};
    struct Case { const char* name; const char* first; const char* second; const char* before; bool samePlace; };
    const Case cases[] = {
        {"in place", "same dll", nullptr, "same dll", true},
        {"staged by the first package, in place for the second", "one dll", "two dll", "two dll", false},
        {"in place for the first, other in the second", "one dll", "two dll", "one dll", false},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        g_packages = {{IDR_PACKAGE_120E, BuildArchive({File("game.dll", c.first)})}};
        if (c.second) g_packages[IDR_PACKAGE_120E_4M] = BuildArchive({File("game.dll", c.second)});
        TempFolder game;
        REQUIRE(game.Write(L"game.dll", c.before));
        auto fileIndex = [&] {
            CHandle file(CreateFileW(game.PathOf(L"game.dll").c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            BY_HANDLE_FILE_INFORMATION info{};
            REQUIRE(GetFileInformationByHandle(file, &info));
            return (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        };
        unsigned long long before = fileIndex();
        SwitchOutcome outcome = Switch(game, c.second ? kTwo : kNew);
        CAPTURE(static_cast<int>(outcome.stop));
        CAPTURE(Utf8(outcome.file.Str()));
        CAPTURE(outcome.error);
        REQUIRE(outcome.Complete());
        CHECK(game.Read(L"game.dll") == (c.second ? c.second : c.first));
        CHECK((fileIndex() == before) == c.samePlace);
        unsigned long long size = 0;
        FILETIME modified{};
        REQUIRE(ReadFileStamp(game.PathOf(L"game.dll"), &size, &modified));
        const std::string& last = g_packages[c.second ? IDR_PACKAGE_120E_4M : IDR_PACKAGE_120E];
        std::vector<PackageEntry> entries;
        REQUIRE(ListPackageEntries(last.data(), last.size(), entries));
        CHECK(Ticks(modified) == Ticks(entries[0].modified));
    }
}
