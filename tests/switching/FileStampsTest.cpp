#include "switching/FileStamps.h"
#include "switching/KeptVersions.h"
#include "TempFolder.h"
#include <doctest/doctest.h>
#include <functional>

TEST_CASE("a stamp vouches for a file only while nothing has written, replaced or renamed it")
{
    struct Times { FILETIME created, accessed, written; };
    auto putTimes = [](const std::wstring& path, const Times& t) {
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        bool set = SetFileTime(file, &t.created, &t.accessed, &t.written);
        CloseHandle(file);
        return set;
    };
    using Change = std::function<bool(const TempFolder&, const Times&)>;
    struct Case { const char* name; Change change; bool held; };
    const Case cases[] = {
        {"unchanged, read back from the record", nullptr, true},
        {"rewritten at its size, its times put back",
         [&](const TempFolder& game, const Times& t) {
             return game.Write(L"game.dll", "two dll") && putTimes(game.PathOf(L"game.dll"), t);
         }, false},
        {"another file of its size and times renamed over it",
         [&](const TempFolder& game, const Times& t) {
             return game.Write(L"other.dll", "two dll") && putTimes(game.PathOf(L"other.dll"), t) &&
                    MoveFileExW(game.PathOf(L"other.dll").c_str(), game.PathOf(L"game.dll").c_str(), MOVEFILE_REPLACE_EXISTING);
         }, false},
        {"the record damaged",
         [](const TempFolder& game, const Times&) {
             return game.Write(std::wstring(KeptVersions::kFolder) + L"\\" + FileStamps::kFile, "00001234 7 zz\n");
         }, false},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        TempFolder game;
        // As extraction leaves a file: its entry's times, long before it was written.
        SYSTEMTIME entry{2014, 4, 0, 20, 17, 31, 0, 0};
        Times before{};
        REQUIRE(SystemTimeToFileTime(&entry, &before.written));
        before.created = before.accessed = before.written;
        REQUIRE(game.Write(L"game.dll", "one dll"));
        REQUIRE(putTimes(game.PathOf(L"game.dll"), before));
        {
            // A CRC the file does not have: a stamp that holds is believed without reading the file.
            FileStamps stamps{GameFolder(game.Path().c_str())};
            stamps.Record(game.PathOf(L"game.dll"), 0x1234);
            stamps.Save();
        }
        // The file system's clock ticks every few milliseconds: a change within the recording's
        // own tick would keep the change time.
        Sleep(20);
        if (c.change) REQUIRE(c.change(game, before));
        FileStamps later{GameFolder(game.Path().c_str())};
        unsigned long long size = 0;
        DWORD crc = 0;
        CHECK(later.Holds(game.PathOf(L"game.dll"), &size, &crc) == c.held);
        if (c.held) CHECK((size == 7 && crc == 0x1234));
    }
}
