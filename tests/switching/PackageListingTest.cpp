#include "switching/PackageListing.h"
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
