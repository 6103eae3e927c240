#include "zip/ZipAttributes.h"
#include "zip/ZipEntryName.h"
#include <doctest/doctest.h>

TEST_CASE("entry names lose drive and parent prefixes as the archive format's readers always did")
{
    struct { const wchar_t* name; const wchar_t* expected; } cases[] = {
        {L"C:\\Windows\\x.dll", L"Windows\\x.dll"},
        {L"/abs/path.txt", L"abs/path.txt"},
        {L"a\\..\\b.txt", L"b.txt"},
        {L"x/../y/../z", L"z"},
        {L"dir/file.txt", L"dir/file.txt"},
        {L"\\\\server\\share\\f.txt", L"server\\share\\f.txt"},
        {L"a/..\\b\\../c.txt", L"c.txt"},
        {L"maps/", L"maps/"},
        {L"dots/../../../x7", L"x7"},
        {L"读我.txt", L"读我.txt"},
        {L"v1.2/notes", L"v1.2/notes"},
        {L"CONFIG.SYS", L"CONFIG.SYS"},
        {L"COM10.txt", L"COM10.txt"},
        {L"name with space.txt", L"name with space.txt"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        CHECK(SanitizeEntryName(c.name) == c.expected);
    }
}

TEST_CASE("names that would leave the base folder or alias another file are refused")
{
    const wchar_t* hostile[] = {
        L"..\\x", L"../x", L"a/../../x", L"C:..\\x", L"..", L"\\\\?\\C:\\x", L"game.dll:evil",
        L"keep.txt::$DATA", L"trail.txt.", L"trail.txt ", L"dir./x", L"CON", L"con.txt", L"sub/Nul", L"aux .txt",
        L"COM1", L"lpt9.log", L"COM0", L"CONIN$", L"conout$.x", L"PRN.", L"a<b", L"a>b", L"a\"b", L"a|b",
        L"a?b", L"a*b", L"tab\there", L"bell\x07", L"del\x7f", L"./x", L"a/./b", L"", L"COM\xB9", L"com\xB2.dll",
        L"sub/LPT\xB3.txt",
    };
    for (const wchar_t* name : hostile) {
        CAPTURE(name);
        CHECK(SanitizeEntryName(name).empty());
    }
    CHECK(SanitizeEntryName(std::wstring(L"a\0b", 3)).empty());
}

TEST_CASE("entry name bytes are strict UTF-8")
{
    std::wstring name;
    REQUIRE(DecodeUtf8Name("\xe8\xaf\xbb\xe6\x88\x91.txt", 10, name));
    CHECK(name == L"读我.txt");
    REQUIRE(DecodeUtf8Name("\xf0\x9f\x98\x80", 4, name));
    CHECK(name == std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)});
    struct { const char* bytes; size_t length; } invalid[] = {
        {"\xc0\xaf", 2},            // overlong "/"
        {"\xe0\x80\xaf", 3},        // overlong "/"
        {"\xed\xa0\x80", 3},        // surrogate
        {"\xf4\x90\x80\x80", 4},    // past U+10FFFF
        {"\x80", 1},                // lone continuation
        {"ab\xe8\xaf", 4},          // cut short
        {"a\0b", 3},                // embedded NUL
        {"\xff", 1},
    };
    for (const auto& c : invalid) {
        CAPTURE(c.length);
        CHECK_FALSE(DecodeUtf8Name(c.bytes, c.length, name));
    }
}

TEST_CASE("targets: absolute ones are written where they say, relative ones must be plain")
{
    CHECK(IsAbsoluteTarget(L"\\tmp\\x.bin"));
    CHECK(IsAbsoluteTarget(L"/tmp/x.bin"));
    CHECK(IsAbsoluteTarget(L"C:\\x"));
    CHECK(IsAbsoluteTarget(L"C:x"));
    CHECK_FALSE(IsAbsoluteTarget(L"sub/dir/file.txt"));
    CHECK_FALSE(IsAbsoluteTarget(L""));
    CHECK(IsSafeRelativePath(L"sub/dir/file.txt"));
    CHECK_FALSE(IsSafeRelativePath(L"sub/../../file.txt"));
    CHECK_FALSE(IsSafeRelativePath(L"/x"));
}

TEST_CASE("the folder part of a path keeps its last separator of either kind")
{
    struct { const wchar_t* path; const wchar_t* expected; } cases[] = {
        {L"war3.exe", L""},         {L"Maps\\Download\\x.w3x", L"Maps\\Download\\"},
        {L"a/b\\c.txt", L"a/b\\"}, {L"a\\b/c.txt", L"a\\b/"},
        {L"\\x.dll", L"\\"},      {L"maps/", L"maps/"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.path);
        CHECK(FolderPart(c.path) == c.expected);
    }
}

TEST_CASE("attributes: DOS bits from FAT-like hosts, a Unix mode from the others")
{
    struct { unsigned int madeBy; DWORD external; DWORD expected; } cases[] = {
        {0x0014, 0x21, 0x21},
        {0x0014, 0x27, 0x27},
        {0x0014, 0xFFFFFFFF, 0x37},          // no bit beyond the five
        {0x0714, 0x12, 0x12},                // Macintosh
        {0x0A14, 0x20, 0x20},                // NTFS
        {0x0B14, 0x20, 0x20},
        {0x0E14, 0x01, 0x01},                // VFAT
        {0x0314, 0100644u << 16, 0x20},      // rw-r--r--
        {0x0314, 0100444u << 16, 0x21},      // r--r--r--
        {0x0314, 040755u << 16, 0x30},       // rwxr-xr-x folder
        {0x0314, 0x27, 0x21},                // DOS bits mean nothing on Unix
        {0x1314, 0100600u << 16, 0x20},      // other hosts read the mode too
    };
    for (const auto& c : cases) {
        CAPTURE(c.madeBy);
        CAPTURE(c.external);
        CHECK(MapEntryAttributes(c.madeBy, c.external) == c.expected);
    }
}
