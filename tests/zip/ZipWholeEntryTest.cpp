#include "TempFolder.h"
#include "TestArchive.h"
#include "zip/ZipArchive.h"
#include <doctest/doctest.h>

TEST_CASE("inflated whole from a file or from memory, or streamed, every entry gives the same result and bytes")
{
    std::string data = CompressibleText(150000, 5);
    auto with = [&](const char* name, void (*change)(TestEntry&)) {
        TestEntry e = File(name, data);
        change(e);
        return e;
    };
    struct Row { TestEntry entry; DWORD expected; };
    const Row rows[] = {
        {File("plain.bin", data), ZIPRES_OK},
        {File("small.txt", "a few bytes"), ZIPRES_OK},
        {File("empty.txt", ""), ZIPRES_OK},
        {with("stored.bin", [](TestEntry& e) { e.deflate = false; }), ZIPRES_OK},
        {with("cut.bin", [](TestEntry& e) { e.keepCompressed = 20000; }), ZIPRES_INFLATE_FAILED},
        {with("short.bin", [](TestEntry& e) { e.declaredSize = 150001; }), ZIPRES_INFLATE_FAILED},
        {with("long.bin", [](TestEntry& e) { e.declaredSize = 149999; }), ZIPRES_CORRUPT},
        {with("crc.bin", [](TestEntry& e) { e.crcWrong = true; }), ZIPRES_CORRUPT},
        // Text read as deflate data: a stored block whose length check fails.
        {with("garbage.bin", [](TestEntry& e) { e.deflate = false; e.method = 8; }), ZIPRES_INFLATE_FAILED},
        // Large enough to be flushed from a second thread while it is written.
        {File("large.bin", CompressibleText(9 << 20, 7)), ZIPRES_OK},
    };
    std::vector<TestEntry> entries;
    for (const Row& row : rows) entries.push_back(row.entry);
    std::string bytes = BuildArchive(entries);

    // No limit streams every entry; a middle one inflates only the small ones whole. Streamed, the
    // large entry is flushed while it is written.
    for (unsigned long long limit : {kZipWholeEntryLimit, 100000ULL, 0ULL})
        for (bool fromMemory : {false, true}) {
            CAPTURE(limit);
            CAPTURE(fromMemory);
            TempFolder folder;
            REQUIRE(folder.Write(L"a.zip", bytes));
            ZipArchiveOwner zip(fromMemory ? ZipOpenMemory(bytes.data(), bytes.size()) : ZipOpen(folder.PathOf(L"a.zip").c_str()));
            REQUIRE(zip);
            zip->SetWholeEntryLimit(limit);
            zip->SetFlushBehind(limit == 0);
            REQUIRE(ZipSetBaseDir(zip.get(), folder.PathOf(L"out").c_str()) == ZIPRES_OK);
            std::vector<DWORD> results = ExtractAll(zip.get());
            REQUIRE(results.size() == entries.size());
            for (size_t i = 0; i < entries.size(); ++i) {
                CAPTURE(entries[i].name);
                CHECK(results[i] == rows[i].expected);
                std::optional<std::string> written = ReadWholeFile(folder.PathOf(L"out\\" + std::wstring(entries[i].name.begin(), entries[i].name.end())));
                CHECK(written.has_value() == (rows[i].expected == ZIPRES_OK));
                if (written) CHECK(*written == entries[i].data);
            }
        }
}
