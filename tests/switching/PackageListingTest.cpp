#include "switching/PackageListing.h"
#include "framework/CHandle.h"
#include "switching/OriginalSums.h"
#include "TempFolder.h"
#include "TestArchive.h"
#include <doctest/doctest.h>

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

TEST_CASE("a file summed ahead of the commit is summed again once its size or time has changed")
{
    PackageEntry known;
    known.name = L"game.dll";
    known.uncompressedSize = 7;
    known.crc = Crc32Of("old dll");
    struct Case { const char* name; const char* later; bool matches; };
    const Case cases[] = {
        {"unchanged", nullptr, true},
        {"rewritten at the same size", "odd dll", false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        TempFolder game;
        REQUIRE(game.Write(L"game.dll", "old dll"));
        OriginalSums sums;
        sums.Start({game.PathOf(L"game.dll")});
        DWORD crc = 0;
        unsigned long long size = 0;
        // Asking for another file waits for the sums.
        CHECK_FALSE(sums.Crc(game.PathOf(L"none"), &crc, &size));
        if (c.later) {
            REQUIRE(game.Write(L"game.dll", c.later));
            CHandle file(CreateFileW(game.PathOf(L"game.dll").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            const FILETIME later{0x12345678, 0x01d00000};
            REQUIRE(SetFileTime(file, nullptr, nullptr, &later));
        }
        CHECK(MatchesPackageEntry(game.PathOf(L"game.dll"), {known}, &crc, &sums) == c.matches);
        CHECK(crc == Crc32Of(c.later ? c.later : "old dll"));
    }
}
