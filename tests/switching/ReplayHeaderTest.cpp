#include "switching/ReplayHeader.h"
#include "switching/ReplayVersion.h"
#include "TempFolder.h"
#include "TestArchive.h"
#include "TestReplay.h"
#include <doctest/doctest.h>
#include <optional>

namespace {

// A replay of the fields that change leaves, with data bytes after its header.
std::string Replay(void (*change)(ReplayFields&) = nullptr, size_t data = 64)
{
    ReplayFields f;
    if (change) change(f);
    return ReplayBytes(f, data);
}

} // namespace

TEST_CASE("replay headers: each file is read, or refused for its reason")
{
    TempFolder folder;
    const std::string good = Replay();
    struct Case {
        const char* what;
        std::optional<std::string> bytes;  // none: no file at all
        ReplayReading reading;
        unsigned int version;
        unsigned long long offset;
        bool crcMatches;
    };
    const Case cases[] = {
        {"1.20", Replay([](ReplayFields& f) { f.version = 20, f.build = 6052; }), ReplayReading::Ok, 20, 0, true},
        {"1.24", Replay([](ReplayFields& f) { f.version = 24; }), ReplayReading::Ok, 24, 0, true},
        {"1.26", good, ReplayReading::Ok, 26, 0, true},
        {"1.27, a version not carried", Replay([](ReplayFields& f) { f.version = 27; }), ReplayReading::Ok, 27, 0, true},
        // A real 1.27 header's fields and checksum, from public format notes.
        {"known checksum", Replay([](ReplayFields& f) { f.fileSize = 0x1A77, f.version = 27, f.lengthMs = 0x2E649,
                                                  f.crc = 0x11A02550; }, 0x1A77 - 0x44),
         ReplayReading::Ok, 27, 0, true},
        {"wrong checksum still plays", Replay([](ReplayFields& f) { f.crc = 0x12345678; }), ReplayReading::Ok, 26, 0, false},
        {"bytes after the announced end", good + "trailer", ReplayReading::Ok, 26, 0, true},
        {"wrapped behind junk", std::string(1000, '\x01') + good, ReplayReading::Ok, 26, 1000, true},
        {"wrapped at the search's last place", std::string(65535, 'W') + good, ReplayReading::Ok, 26, 65535, true},
        {"wrapped beyond the search", std::string(65536, '\0') + good, ReplayReading::NotReplay, 0, 0, false},
        {"Reign of Chaos", Replay([](ReplayFields& f) { f.product = "3RAW"; }), ReplayReading::ReignOfChaos, 26, 0, true},
        {"header of 1.06", Replay([](ReplayFields& f) { f.headerSize = 0x40, f.headerVersion = 0, f.version = 6; }),
         ReplayReading::ReignOfChaos, 6, 0, true},
        {"unknown product", Replay([](ReplayFields& f) { f.product = "PX3X"; }), ReplayReading::Damaged, 26, 0, true},
        {"header size lies", Replay([](ReplayFields& f) { f.headerSize = 0x48; }), ReplayReading::Damaged, 0, 0, false},
        {"short header, version 1", Replay([](ReplayFields& f) { f.headerSize = 0x40; }), ReplayReading::Damaged, 0, 0, false},
        {"header version 2", Replay([](ReplayFields& f) { f.headerVersion = 2; }), ReplayReading::Damaged, 0, 0, false},
        {"file size below the header", Replay([](ReplayFields& f) { f.fileSize = 0x43; }), ReplayReading::Damaged, 0, 0, true},
        {"no blocks", Replay([](ReplayFields& f) { f.blocks = 0; }), ReplayReading::Damaged, 0, 0, true},
        {"more blocks than bytes", Replay([](ReplayFields& f) { f.blocks = 0xFFFFFFFF; }), ReplayReading::Damaged, 0, 0, true},
        {"size beyond the file", Replay([](ReplayFields& f) { f.fileSize = 0x44 + 65; }), ReplayReading::Truncated, 0, 0, true},
        {"cut in the data", good.substr(0, good.size() - 1), ReplayReading::Truncated, 0, 0, true},
        {"cut in the checksum", good.substr(0, 0x42), ReplayReading::Truncated, 0, 0, false},
        {"cut before the header version", good.substr(0, 0x22), ReplayReading::Truncated, 0, 0, false},
        {"cut in the signature", good.substr(0, 10), ReplayReading::Truncated, 0, 0, false},
        {"wrapped and cut", std::string(300, 'x') + good.substr(0, 0x30), ReplayReading::Truncated, 0, 300, false},
        {"signature misspelt", "Warcraft III recorded gamE" + good.substr(26), ReplayReading::NotReplay, 0, 0, false},
        {"text", std::string("Warcraft III replays\r\n"), ReplayReading::NotReplay, 0, 0, false},
        {"empty", std::string(), ReplayReading::Empty, 0, 0, false},
        {"missing", std::nullopt, ReplayReading::Missing, 0, 0, false},
    };
    int index = 0;
    for (const Case& c : cases) {
        CAPTURE(std::string(c.what));
        const std::wstring path = folder.PathOf(L"replay" + std::to_wstring(index++) + L".w3g");
        if (c.bytes) REQUIRE(WriteWholeFile(path, *c.bytes));
        ReplayHeader header = ReadReplayHeader(path.c_str());
        CHECK(header.reading == c.reading);
        CHECK(header.version == c.version);
        CHECK(header.offset == c.offset);
        CHECK(header.crcMatches == c.crcMatches);
        if (c.reading == ReplayReading::Ok && c.version != 27) {
            CHECK(header.build == (c.version == 20 ? 6052u : 6059u));
            CHECK(header.lengthMs == 190025u);
        }
    }
    // A folder is no replay file, and the header's fields are read from where the replay starts.
    CHECK(ReadReplayHeader(folder.Path().c_str()).reading == ReplayReading::Missing);
    CHECK(ReadReplayHeader(folder.PathOf(L"replay4.w3g").c_str()).lengthMs == 0x2E649u);
}

TEST_CASE("a replay's version names the variant that plays it")
{
    struct Case {
        unsigned int version;
        const VersionVariant* base;
        std::vector<const VersionVariant*> playing;  // of the installed variants, those that need no switch
        const wchar_t* text;
    };
    const Case cases[] = {
        {20, &kVariant120E, {&kVariant120E, &kVariant120E4M}, L"1.20"},
        {24, &kVariant124E, {&kVariant124E, &kVariant124E8M}, L"1.24"},
        {26, &kVariant126, {&kVariant126}, L"1.26"},
        {27, nullptr, {}, L"1.27"},
        {7, nullptr, {}, L"1.07"},
        {0, nullptr, {}, L"1.00"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.version);
        CHECK(ReplayBaseVariant(c.version) == c.base);
        CHECK(ReplayVersionText(c.version) == CString(c.text));
        std::vector<const VersionVariant*> playing;
        for (const VersionVariant* installed : kAllVariants)
            if (PlaysReplaysOf(*installed, c.version)) playing.push_back(installed);
        CHECK(playing == c.playing);
    }
}
