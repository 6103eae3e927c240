#include "switching/PackageListing.h"
#include "switching/SwitchPreflight.h"
#include "tests/ScratchFolder.h"
#include <doctest/doctest.h>
#include <zip.h>

namespace {

std::vector<PackageEntry> Entries(std::initializer_list<const wchar_t*> names)
{
    std::vector<PackageEntry> entries;
    for (const wchar_t* n : names) entries.push_back({n, 10});
    return entries;
}

// A small archive written with minizip's own writer, read back into memory.
std::string MakeArchive(const ScratchFolder& folder, const std::vector<std::pair<std::string, std::string>>& files)
{
    CString path = folder / L"made.zip";
    char narrow[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, MAX_PATH, nullptr, nullptr);
    zipFile zip = zipOpen(narrow, APPEND_STATUS_CREATE);
    REQUIRE(zip != nullptr);
    for (const auto& f : files) {
        zip_fileinfo info{};
        REQUIRE(zipOpenNewFileInZip(zip, f.first.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6) == ZIP_OK);
        zipWriteInFileInZip(zip, f.second.data(), static_cast<unsigned>(f.second.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    return ReadWholeFile(path);
}

} // namespace

TEST_CASE("the pre-check names each file that extraction could not replace, once")
{
    ScratchFolder game;
    REQUIRE(WriteWholeFile(game / L"war3.exe", "old", 3));
    REQUIRE(WriteWholeFile(game / L"game.dll", "old", 3));
    REQUIRE(WriteWholeFile(game / L"Storm.dll", "old", 3));
    REQUIRE(WriteWholeFile(game / L"hidden.mpq", "old", 3));
    REQUIRE(SetFileAttributesW(game / L"Storm.dll", FILE_ATTRIBUTE_READONLY));
    REQUIRE(SetFileAttributesW(game / L"hidden.mpq", FILE_ATTRIBUTE_HIDDEN));
    // A running game holds its files open without sharing them for writing.
    HANDLE running = CreateFileW(game / L"game.dll", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(running != INVALID_HANDLE_VALUE);

    auto blocked = SwitchPreflight::CheckTargets(
        game.Path(), Entries({L"war3.exe", L"game.dll", L"Storm.dll", L"hidden.mpq", L"new.dll", L"Game.dll"}));
    REQUIRE(blocked.size() == 3);
    CHECK(blocked[0].name == CString(L"game.dll"));
    CHECK(blocked[0].reason == BlockedFile::InUse);
    CHECK(blocked[1].name == CString(L"Storm.dll"));
    CHECK(blocked[1].reason == BlockedFile::ProtectedAttributes);
    CHECK(blocked[2].reason == BlockedFile::ProtectedAttributes);
    CloseHandle(running);

    // Nothing was written or truncated by the check.
    CHECK(ReadWholeFile(game / L"war3.exe") == "old");
    CHECK(ReadWholeFile(game / L"game.dll") == "old");
    CHECK(GetFileAttributesW(game / L"new.dll") == INVALID_FILE_ATTRIBUTES);
    CHECK(SwitchPreflight::CheckTargets(game.Path(), Entries({L"war3.exe", L"game.dll"})).empty());
}

TEST_CASE("room on the volume: enough, and more than any disk has")
{
    ScratchFolder game;
    unsigned long long available = 0;
    CHECK(SwitchPreflight::HasRoom(game.Path(), 1024, &available));
    CHECK(available >= 1024);
    CHECK_FALSE(SwitchPreflight::HasRoom(game.Path(), ~0ull, &available));
}

TEST_CASE("a package is listed from memory with names and sizes; garbage is refused")
{
    ScratchFolder folder;
    std::string archive = MakeArchive(folder, {{"Storm.dll", std::string(5000, 's')}, {"war3.exe", "MZ"}});
    std::vector<PackageEntry> entries;
    REQUIRE(ListPackageEntries(archive.data(), archive.size(), entries));
    REQUIRE(entries.size() == 2);
    CHECK(entries[0].name == CString(L"Storm.dll"));
    CHECK(entries[0].uncompressedSize == 5000);
    CHECK(entries[1].name == CString(L"war3.exe"));
    std::string cut = archive.substr(0, archive.size() - 40);
    CHECK_FALSE(ListPackageEntries(cut.data(), cut.size(), entries));
    CHECK_FALSE(ListPackageEntries("not a zip", 9, entries));
    CHECK_FALSE(ListPackageEntries(nullptr, 0, entries));
}
