#include "TempFolder.h"
#include "TestArchive.h"
#include "framework/CHandle.h"
#include "zip/ZipArchive.h"
#include "zip/ZipEntryTimes.h"
#include <doctest/doctest.h>
#include <algorithm>

namespace {

// An archive written into a scratch folder and opened, with "game" as its base folder.
struct OpenArchive {
    TempFolder folder;
    std::wstring base;
    ZipHandle zip = nullptr;

    explicit OpenArchive(const std::string& bytes)
    {
        base = folder.PathOf(L"game");
        CreateDirectoryW(base.c_str(), nullptr);
        REQUIRE(folder.Write(L"a.zip", bytes));
        zip = ZipOpen(folder.PathOf(L"a.zip").c_str());
        REQUIRE(zip != nullptr);
        REQUIRE(ZipSetBaseDir(zip, base.c_str()) == ZIPRES_OK);
    }
    explicit OpenArchive(const std::vector<TestEntry>& entries) : OpenArchive(BuildArchive(entries)) {}
    ~OpenArchive() { ZipClose(zip); }

    std::wstring In(const wchar_t* name) const { return base + L"\\" + name; }
    std::vector<DWORD> ExtractAll() { return ::ExtractAll(zip); }
};

void FileTimes(const std::wstring& path, FILETIME& creation, FILETIME& access, FILETIME& modified)
{
    CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    REQUIRE(file);
    GetFileTime(file, &creation, &access, &modified);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool HasTemporaryFiles(const std::wstring& folder)
{
    for (const std::wstring& name : ListTree(folder))
        if (name.find(L"~zip") != std::wstring::npos) return true;
    return false;
}

const unsigned long long kUnixEpoch = 116444736000000000ULL;

} // namespace

TEST_CASE("no handle, a missing file and a file that is no archive")
{
    ZipEntryInfo entry{};
    CHECK(ZipSetBaseDir(nullptr, L"C:\\") == ZIPRES_BAD_ARGUMENT);
    CHECK(ZipGetEntry(nullptr, -1, &entry) == ZIPRES_BAD_ARGUMENT);
    CHECK(g_zipLastResult == ZIPRES_BAD_ARGUMENT);
    CHECK(ZipExtractEntry(nullptr, 0, L"x") == ZIPRES_BAD_ARGUMENT);
    CHECK(ZipClose(nullptr) == ZIPRES_BAD_ARGUMENT);

    TempFolder folder;
    CHECK(ZipOpen(folder.PathOf(L"missing.zip").c_str()) == nullptr);
    CHECK(g_zipLastResult == ZIPRES_CANNOT_OPEN);
    REQUIRE(WriteWholeFile(folder.PathOf(L"text.zip"), "not an archive at all, just text"));
    CHECK(ZipOpen(folder.PathOf(L"text.zip").c_str()) == nullptr);
    CHECK(g_zipLastResult == ZIPRES_CANNOT_OPEN);
    // A failed open keeps no file open: the file can be deleted at once.
    CHECK(DeleteFileW(folder.PathOf(L"text.zip").c_str()));
}

TEST_CASE("index -1 gives the entry count; other indexes outside the archive are refused")
{
    std::vector<TestEntry> entries;
    for (int i = 0; i < 7; ++i) entries.push_back(File("f" + std::to_string(i) + ".txt", "data"));
    OpenArchive archive(entries);
    ZipEntryInfo entry;
    memset(&entry, 0x55, sizeof entry);
    REQUIRE(ZipGetEntry(archive.zip, -1, &entry) == ZIPRES_OK);
    CHECK(entry.nIndex == 7);
    CHECK(entry.szName[0] == 0);
    CHECK(entry.dwAttributes == 0);
    CHECK(Ticks(entry.ftAccess) == 0);
    CHECK(Ticks(entry.ftCreation) == 0);
    CHECK(Ticks(entry.ftModified) == 0);
    CHECK(entry.nCompressedSize == 0);
    CHECK(entry.nUncompressedSize == 0);

    for (int bad : {7, 8, -2, -1000}) {
        CAPTURE(bad);
        ZipEntryInfo untouched;
        memset(&untouched, 0x55, sizeof untouched);
        CHECK(ZipGetEntry(archive.zip, bad, &untouched) == ZIPRES_BAD_ARGUMENT);
        CHECK(untouched.nIndex == 0x55555555);
        CHECK(ZipExtractEntry(archive.zip, bad, L"x.txt") == ZIPRES_BAD_ARGUMENT);
    }
    CHECK(ListTree(archive.base).empty());

    // Going backwards and forwards finds each entry by its index.
    for (int i : {6, 2, 5, 0, 3}) {
        REQUIRE(ZipGetEntry(archive.zip, i, &entry) == ZIPRES_OK);
        CHECK(entry.nIndex == i);
        CHECK(std::wstring(entry.szName) == L"f" + std::to_wstring(i) + L".txt");
    }
}

TEST_CASE("names of the archive become relative paths below the base folder")
{
    OpenArchive archive({File("C:\\Windows\\x.dll", "1"), File("/abs/path.txt", "2"), File("a\\..\\b.txt", "3"),
                         File("x/../y/../z", "4"), File("dir/file.txt", "5"), File("\xe8\xaf\xbb\xe6\x88\x91.txt", "6")});
    std::vector<DWORD> results = archive.ExtractAll();
    CHECK(std::count(results.begin(), results.end(), ZIPRES_OK) == 6);
    CHECK(ListTree(archive.base) == std::vector<std::wstring>{L"Windows", L"Windows\\x.dll", L"abs", L"abs\\path.txt",
                                                              L"b.txt", L"dir", L"dir\\file.txt", L"z", L"读我.txt"});
    CHECK(ReadWholeFile(archive.In(L"Windows\\x.dll")) == "1");
    CHECK(ReadWholeFile(archive.In(L"z")) == "4");
}

TEST_CASE("hostile names write nothing beside, above or below the base folder")
{
    const char* hostile[] = {"..\\x1", "../x2", "a/../../x3", "C:..\\x4", "..", "\\\\?\\C:\\x5", "game.dll:evil",
                             "keep.txt::$DATA", "trail.txt.", "CON", "nul.txt", "sub/COM1.dll", "a<b", "q?", "\x01x",
                             "\xc0\xaf..\xc0\xafx6", "bad\xff.txt"};
    std::vector<TestEntry> entries;
    for (const char* name : hostile) entries.push_back(File(name, "evil"));
    entries.push_back(File("keep.txt", "fine"));
    OpenArchive archive(entries);
    std::vector<std::wstring> before = ListTree(archive.folder.Path());

    std::vector<DWORD> results = archive.ExtractAll();
    for (size_t i = 0; i + 1 < results.size(); ++i) {
        std::string name = hostile[i];
        CAPTURE(name);
        ZipEntryInfo entry{};
        CHECK(ZipGetEntry(archive.zip, static_cast<int>(i), &entry) == ZIPRES_OK);
        CHECK(entry.szName[0] == 0);
        CHECK(results[i] != ZIPRES_OK);
    }
    CHECK(results.back() == ZIPRES_OK);
    std::vector<std::wstring> after = ListTree(archive.folder.Path());
    before.push_back(L"game\\keep.txt");
    std::sort(before.begin(), before.end());
    CHECK(after == before);
    // Nothing next to the scratch folder either.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (const wchar_t* name : {L"x1", L"x2", L"x3", L"x4"}) CHECK_FALSE(Exists(std::wstring(temp) + name));

    SUBCASE("and hostile targets passed directly are refused")
    {
        for (const wchar_t* target : {L"..\\direct.txt", L"sub/../../direct.txt", L"keep.txt:alt", L"AUX", L"sub\\"}) {
            CAPTURE(target);
            CHECK(ZipExtractEntry(archive.zip, static_cast<int>(results.size()) - 1, target) == ZIPRES_CANNOT_OPEN);
        }
        CHECK(ListTree(archive.folder.Path()) == after);
    }
}

TEST_CASE("Unix and MS-DOS attributes of the extracted files")
{
    TestEntry unixFile = File("rw.txt", "a"), unixReadOnly = File("ro.txt", "b"), unixFolder = File("folder/", "");
    unixFile.versionMadeBy = unixReadOnly.versionMadeBy = unixFolder.versionMadeBy = 0x0314;
    unixFile.external = 0100644u << 16;
    unixReadOnly.external = 0100444u << 16;
    unixFolder.external = 040755u << 16;
    unixFolder.deflate = false;
    TestEntry dosHidden = File("hidden.txt", "c");
    dosHidden.external = 0x22;
    OpenArchive archive({unixFile, unixReadOnly, unixFolder, dosHidden});
    std::vector<DWORD> results = archive.ExtractAll();
    CHECK(results == std::vector<DWORD>{0, 0, 0, 0});
    CHECK(GetFileAttributesW(archive.In(L"rw.txt").c_str()) == FILE_ATTRIBUTE_ARCHIVE);
    CHECK(GetFileAttributesW(archive.In(L"ro.txt").c_str()) == (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    CHECK((GetFileAttributesW(archive.In(L"folder").c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);
    CHECK(GetFileAttributesW(archive.In(L"hidden.txt").c_str()) == (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN));
}

TEST_CASE("files that may not be replaced are left exactly as they were")
{
    TestEntry readOnly = File("game.dll", "first");
    readOnly.external = 0x21;
    {
        OpenArchive first({readOnly});
        REQUIRE(first.ExtractAll() == std::vector<DWORD>{ZIPRES_OK});
        REQUIRE(GetFileAttributesW(first.In(L"game.dll").c_str()) == 0x21);
        FILETIME c0, a0, m0;
        FileTimes(first.In(L"game.dll"), c0, a0, m0);

        // The same entry again, and another archive's newer file of that name.
        CHECK(first.ExtractAll() == std::vector<DWORD>{ZIPRES_CANNOT_OPEN});
        std::string bytes = BuildArchive({File("Game.dll", "second")});
        REQUIRE(WriteWholeFile(first.folder.PathOf(L"b.zip"), bytes));
        ZipHandle second = ZipOpen(first.folder.PathOf(L"b.zip").c_str());
        REQUIRE(second != nullptr);
        ZipSetBaseDir(second, first.base.c_str());
        CHECK(ZipExtractEntry(second, 0, L"Game.dll") == ZIPRES_CANNOT_OPEN);
        ZipClose(second);
        CHECK(ReadWholeFile(first.In(L"game.dll")) == "first");
        FILETIME c1, a1, m1;
        FileTimes(first.In(L"game.dll"), c1, a1, m1);
        CHECK(Ticks(m1) == Ticks(m0));
        CHECK_FALSE(HasTemporaryFiles(first.base));
    }
    OpenArchive archive({File("hidden.mpq", "new"), File("system.dll", "new"), File("war3.exe", "new")});
    REQUIRE(WriteWholeFile(archive.In(L"hidden.mpq").c_str(), "old"));
    REQUIRE(WriteWholeFile(archive.In(L"system.dll").c_str(), "old"));
    REQUIRE(WriteWholeFile(archive.In(L"war3.exe").c_str(), "old"));
    SetFileAttributesW(archive.In(L"hidden.mpq").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(archive.In(L"system.dll").c_str(), FILE_ATTRIBUTE_SYSTEM);
    // A running game holds its program open without sharing it for writing.
    CHandle running(CreateFileW(archive.In(L"war3.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    REQUIRE(running);
    CHECK(archive.ExtractAll() == std::vector<DWORD>{ZIPRES_CANNOT_OPEN, ZIPRES_CANNOT_OPEN, ZIPRES_CANNOT_OPEN});
    running.Close();
    for (const wchar_t* name : {L"hidden.mpq", L"system.dll", L"war3.exe"}) CHECK(ReadWholeFile(archive.In(name)) == "old");
    CHECK_FALSE(HasTemporaryFiles(archive.base));
    // Once the game has ended the file is replaced.
    CHECK(ZipExtractEntry(archive.zip, 2, L"war3.exe") == ZIPRES_OK);
    CHECK(ReadWholeFile(archive.In(L"war3.exe")) == "new");
}

TEST_CASE("a replaced file keeps its name on disk and takes the entry's contents and times")
{
    OpenArchive archive({File("game.dll", std::string(50000, 'g')), File("empty.txt", "")});
    REQUIRE(WriteWholeFile(archive.In(L"Game.dll").c_str(), "old contents"));
    REQUIRE(WriteWholeFile(archive.In(L"empty.txt").c_str(), "not empty"));
    CHECK(archive.ExtractAll() == std::vector<DWORD>{ZIPRES_OK, ZIPRES_OK});
    CHECK(ListTree(archive.base) == std::vector<std::wstring>{L"Game.dll", L"empty.txt"});
    CHECK(ReadWholeFile(archive.In(L"Game.dll")) == std::string(50000, 'g'));
    // An empty entry is a valid empty file with the entry's times.
    CHECK(ReadWholeFile(archive.In(L"empty.txt")) == "");
    FILETIME c, a, m;
    FileTimes(archive.In(L"empty.txt"), c, a, m);
    FILETIME expected = DosDateTimeToUtc(DosStamp(2014, 4, 20, 17, 31, 34));
    CHECK(Ticks(m) == Ticks(expected));
    CHECK(Ticks(c) == Ticks(expected));
}

TEST_CASE("file times: the DOS stamp as local time, replaced by the UT block's times")
{
    TestEntry plain = File("plain.txt", "p");
    TestEntry modifiedOnly = File("modified.txt", "m");
    modifiedOnly.localExtra = ExtraBlock("UT", "\x01" + Le32(1000000000));
    TestEntry behindOther = File("behind.txt", "b");
    behindOther.localExtra = ExtraBlock("ZZ", std::string(300, 'x')) + ExtraBlock("UT", "\x07" + Le32(1000000001) + Le32(1000000002) + Le32(1000000003));
    TestEntry pastEnd = File("pastend.txt", "e");
    pastEnd.localExtra = ExtraBlock("UT", "\x07" + Le32(1000000001) + Le32(1000000002) + Le32(1000000003));
    pastEnd.localExtra.resize(pastEnd.localExtra.size() - 2);
    TestEntry invalidStamp = File("invalid.txt", "i");
    invalidStamp.dosDateTime = DosStamp(2014, 15, 0, 0, 0, 0);
    OpenArchive archive({plain, modifiedOnly, behindOther, pastEnd, invalidStamp});
    REQUIRE(archive.ExtractAll() == std::vector<DWORD>{0, 0, 0, 0, 0});

    SYSTEMTIME local = {2014, 4, 0, 20, 17, 31, 34, 0};
    FILETIME localTime, dos;
    REQUIRE(SystemTimeToFileTime(&local, &localTime));
    REQUIRE(LocalFileTimeToFileTime(&localTime, &dos));
    auto unixTime = [](unsigned long long s) { return kUnixEpoch + s * 10000000ULL; };
    // Wine keeps no creation time of its own on Linux, so the files show access and
    // modification times; the record shows all three.
    struct { const wchar_t* name; unsigned long long creation, access, modified; } cases[] = {
        {L"plain.txt", Ticks(dos), Ticks(dos), Ticks(dos)},
        {L"modified.txt", Ticks(dos), Ticks(dos), unixTime(1000000000)},
        {L"behind.txt", unixTime(1000000003), unixTime(1000000002), unixTime(1000000001)},
        {L"pastend.txt", Ticks(dos), unixTime(1000000002), unixTime(1000000001)},
    };
    for (int i = 0; i < 4; ++i) {
        const auto& c = cases[i];
        std::string name(c.name, c.name + wcslen(c.name));
        CAPTURE(name);
        FILETIME creation, access, modified;
        FileTimes(archive.In(c.name), creation, access, modified);
        CHECK(Ticks(access) == c.access);
        CHECK(Ticks(modified) == c.modified);
        ZipEntryInfo entry{};
        REQUIRE(ZipGetEntry(archive.zip, i, &entry) == ZIPRES_OK);
        CHECK(Ticks(entry.ftCreation) == c.creation);
        CHECK(Ticks(entry.ftAccess) == c.access);
        CHECK(Ticks(entry.ftModified) == c.modified);
    }
    SYSTEMTIME epoch = {1980, 1, 0, 1, 0, 0, 0, 0};
    FILETIME epochLocal, epochUtc, creation, access, modified;
    REQUIRE(SystemTimeToFileTime(&epoch, &epochLocal));
    REQUIRE(LocalFileTimeToFileTime(&epochLocal, &epochUtc));
    FileTimes(archive.In(L"invalid.txt"), creation, access, modified);
    CHECK(Ticks(modified) == Ticks(epochUtc));
}

TEST_CASE("folders: directory entries, the chain of a nested target, an absolute target")
{
    TestEntry maps = File("maps/", "");
    maps.external = 0x10;
    maps.deflate = false;
    OpenArchive archive({maps, File("sub/dir/file.txt", "nested"), File("x.bin", "absolute")});
    CHECK(archive.ExtractAll() == std::vector<DWORD>{0, 0, 0});
    CHECK(ListTree(archive.base) == std::vector<std::wstring>{L"maps", L"sub", L"sub\\dir", L"sub\\dir\\file.txt", L"x.bin"});
    REQUIRE(DeleteFileW(archive.In(L"x.bin").c_str()));
    CHECK(ReadWholeFile(archive.In(L"sub\\dir\\file.txt")) == "nested");

    std::wstring elsewhere = archive.folder.PathOf(L"elsewhere\\deeper\\x.bin");
    CHECK(ZipExtractEntry(archive.zip, 2, elsewhere.c_str()) == ZIPRES_OK);
    CHECK(ReadWholeFile(elsewhere) == "absolute");
    CHECK_FALSE(Exists(archive.In(L"x.bin")));
    std::wstring absoluteFolder = archive.folder.PathOf(L"made\\here");
    CHECK(ZipExtractEntry(archive.zip, 0, absoluteFolder.c_str()) == ZIPRES_OK);
    CHECK((GetFileAttributesW(absoluteFolder.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0);

    CHECK(MakeDirectoryChain(archive.In(L"root").c_str(), L"\\a/b\\c/"));
    CHECK(Exists(archive.In(L"root\\a\\b\\c")));
    CHECK_FALSE(MakeDirectoryChain(nullptr, L""));
    // A file where a folder should be: the entry fails and nothing replaces the file.
    REQUIRE(WriteWholeFile(archive.In(L"blocker").c_str(), "file"));
    CHECK(ZipExtractEntry(archive.zip, 1, L"blocker/file.txt") == ZIPRES_CANNOT_OPEN);
    CHECK(ReadWholeFile(archive.In(L"blocker")) == "file");
}

TEST_CASE("the base folder: the current folder by default, a separator appended, any depth")
{
    TempFolder folder;
    std::string bytes = BuildArchive({File("here.txt", "h"), File(std::string(120, 'f') + "/" + std::string(120, 'f'), "y")});
    REQUIRE(WriteWholeFile(folder.PathOf(L"a.zip"), bytes));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    REQUIRE(SetCurrentDirectoryW(folder.Path().c_str()));
    ZipHandle zip = ZipOpen(folder.PathOf(L"a.zip").c_str());
    REQUIRE(zip != nullptr);
    CHECK(zip->BaseDir() == folder.Path() + L"\\");
    CHECK(ZipExtractEntry(zip, 0, L"here.txt") == ZIPRES_OK);
    SetCurrentDirectoryW(previous);
    CHECK(ReadWholeFile(folder.PathOf(L"here.txt")) == "h");

    CHECK(ZipSetBaseDir(zip, (folder.Path() + L"/out/").c_str()) == ZIPRES_OK);
    CHECK(zip->BaseDir() == folder.Path() + L"/out/");
    CHECK(ZipSetBaseDir(zip, L"") == ZIPRES_BAD_ARGUMENT);
    CHECK(zip->BaseDir() == folder.Path() + L"/out/");
    // A game folder deeper than MAX_PATH: the files land there, through the long form of the path.
    std::wstring deep = folder.Path() + L"\\" + std::wstring(150, L'd') + L"\\" + std::wstring(150, L'e');
    REQUIRE(CreateDirectoryW((L"\\\\?\\" + folder.Path() + L"\\" + std::wstring(150, L'd')).c_str(), nullptr));
    CHECK(ZipSetBaseDir(zip, deep.c_str()) == ZIPRES_OK);
    CHECK(ZipExtractEntry(zip, 0, L"here.txt") == ZIPRES_OK);
    CHECK(ZipExtractEntry(zip, 1, L"sub\\deeper.txt") == ZIPRES_OK);
    CHECK(ReadWholeFile(L"\\\\?\\" + deep + L"\\here.txt") == "h");
    CHECK(ReadWholeFile(L"\\\\?\\" + deep + L"\\sub\\deeper.txt") == "y");
    CHECK(ZipClose(zip) == ZIPRES_OK);
    CHECK(g_zipLastResult == ZIPRES_OK);
}

TEST_CASE("names too long for the record are refused without writing; long paths are not")
{
    std::string longName(300, 'n');
    std::string fits(120, 'f');
    OpenArchive archive({File(longName, "x"), File(fits + "/" + fits, "y"), File("short.txt", "z")});
    ZipEntryInfo entry{};
    REQUIRE(ZipGetEntry(archive.zip, 0, &entry) == ZIPRES_OK);
    CHECK(entry.szName[0] == 0);
    CHECK(entry.nUncompressedSize == 1);
    REQUIRE(ZipGetEntry(archive.zip, 1, &entry) == ZIPRES_OK);
    CHECK(std::wstring(entry.szName).size() == 241);
    CHECK(archive.ExtractAll() == std::vector<DWORD>{ZIPRES_CANNOT_OPEN, ZIPRES_OK, ZIPRES_OK});
    std::wstring folderName(120, L'f');
    CHECK(ListTree(archive.base) == std::vector<std::wstring>{folderName, folderName + L"\\" + folderName, L"short.txt"});
}

TEST_CASE("encrypted entries: the empty password extracts, a wrong check byte is refused")
{
    TempFolder folder;
    std::string secret = CompressibleText(40000, 7);
    REQUIRE(WriteMinizipArchive(folder.PathOf(L"e.zip"), {{"secret.txt", secret}, {"open.txt", "plain"}}, ""));
    ZipHandle zip = ZipOpen(folder.PathOf(L"e.zip").c_str());
    REQUIRE(zip != nullptr);
    ZipSetBaseDir(zip, folder.Path().c_str());
    CHECK(ZipExtractEntry(zip, 0, L"secret.txt") == ZIPRES_OK);
    CHECK(ReadWholeFile(folder.PathOf(L"secret.txt")) == secret);
    ZipClose(zip);

    // The last byte of the first entry's encryption header sits 12 bytes after its name.
    std::string bytes = *ReadWholeFile(folder.PathOf(L"e.zip"));
    size_t header = 30 + std::string("secret.txt").size() + static_cast<unsigned char>(bytes[28]);
    bytes[header + 11] ^= 0x40;
    REQUIRE(WriteWholeFile(folder.PathOf(L"bad.zip"), bytes));
    zip = ZipOpen(folder.PathOf(L"bad.zip").c_str());
    REQUIRE(zip != nullptr);
    ZipSetBaseDir(zip, folder.Path().c_str());
    CHECK(ZipExtractEntry(zip, 0, L"secret.txt") == ZIPRES_BAD_PASSWORD);
    CHECK(ReadWholeFile(folder.PathOf(L"secret.txt")) == secret);
    CHECK_FALSE(HasTemporaryFiles(folder.Path()));
    ZipClose(zip);
}

TEST_CASE("damaged data never replaces the target and is never reported as success")
{
    std::string data = CompressibleText(100000, 3);
    TestEntry truncated = File("truncated.bin", data);
    truncated.keepCompressed = static_cast<long long>(Deflate(data).size() / 2);
    TestEntry shortStream = File("short.bin", data);
    shortStream.declaredSize = static_cast<long long>(data.size()) + 100;
    TestEntry badCrc = File("crc.bin", data);
    badCrc.crcWrong = true;
    TestEntry localMethod = File("local.bin", data);
    localMethod.localMethod = 0;
    TestEntry unknownMethod = File("method.bin", data);
    unknownMethod.method = 12;
    TestEntry storedShort = File("stored.bin", data);
    storedShort.deflate = false;
    storedShort.keepCompressed = 5000;
    TestEntry longer = File("longer.bin", data);
    longer.declaredSize = 1000;
    TestEntry extraPastEnd = File("extra.bin", "small");
    extraPastEnd.localExtraLength = 0xFFFF;
    OpenArchive archive({truncated, shortStream, badCrc, localMethod, unknownMethod, storedShort, longer, extraPastEnd});
    const wchar_t* names[] = {L"truncated.bin", L"short.bin", L"crc.bin", L"local.bin", L"method.bin", L"stored.bin", L"longer.bin", L"extra.bin"};
    for (const wchar_t* name : names) REQUIRE(WriteWholeFile(archive.In(name).c_str(), "old"));

    ZipEntryInfo entry{};
    CHECK(ZipGetEntry(archive.zip, 3, &entry) == ZIPRES_CORRUPT);
    CHECK(ZipGetEntry(archive.zip, 4, &entry) == ZIPRES_CORRUPT);
    CHECK(ZipGetEntry(archive.zip, 7, &entry) == ZIPRES_READ_FAILED);
    DWORD expected[] = {ZIPRES_INFLATE_FAILED, ZIPRES_INFLATE_FAILED, ZIPRES_CORRUPT, ZIPRES_CORRUPT,
                        ZIPRES_CORRUPT, ZIPRES_INFLATE_FAILED, ZIPRES_CORRUPT, ZIPRES_READ_FAILED};
    for (int i = 0; i < 8; ++i) {
        CAPTURE(names[i]);
        CHECK(ZipExtractEntry(archive.zip, i, names[i]) == expected[i]);
        CHECK(ReadWholeFile(archive.In(names[i])) == "old");
    }
    CHECK_FALSE(HasTemporaryFiles(archive.base));
}

TEST_CASE("an unreadable central record or an impossible entry count ends the walk instead of spinning")
{
    std::string bytes = BuildArchive({File("one.txt", "1"), File("two.txt", "2"), File("three.txt", "3")});
    {
        // The end record claims 65535 entries in both of its counts; far fewer records fit.
        std::string claiming = bytes;
        claiming.replace(claiming.size() - 14, 4, "\xff\xff\xff\xff");
        std::vector<DWORD> results = OpenArchive(claiming).ExtractAll();
        CHECK(results.size() <= claiming.size() / 46);
        REQUIRE(results.size() >= 3);
        CHECK(results[2] == ZIPRES_OK);
    }
    size_t second = bytes.find("PK\x01\x02", bytes.find("PK\x01\x02") + 4);
    REQUIRE(second != std::string::npos);
    bytes[second + 3] = 9;
    OpenArchive archive(bytes);
    ZipEntryInfo entry{};
    CHECK(ZipGetEntry(archive.zip, 0, &entry) == ZIPRES_OK);
    CHECK(ZipGetEntry(archive.zip, 2, &entry) == ZIPRES_CORRUPT);
    CHECK(ZipGetEntry(archive.zip, 1, &entry) == ZIPRES_CORRUPT);
    CHECK(ZipExtractEntry(archive.zip, 2, L"three.txt") == ZIPRES_CORRUPT);
    // The archive stays usable for the entries before the damage.
    CHECK(ZipExtractEntry(archive.zip, 0, L"one.txt") == ZIPRES_OK);
    CHECK(ListTree(archive.base) == std::vector<std::wstring>{L"one.txt"});
}
