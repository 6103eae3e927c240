#include "switching/StoredVersion.h"
#include "TempFolder.h"
#include <doctest/doctest.h>
#include <windows.h>
#include <cstdlib>

// Run under a Western and a Chinese code page; EXPECTED_ACP says which one this run has.
TEST_CASE("the stored version survives the system code page")
{
    const char* expected = std::getenv("EXPECTED_ACP");
    if (expected) CHECK(GetACP() == static_cast<UINT>(std::atoi(expected)));
    TempFolder folder;
    CHECK(WriteStoredVersion(folder.Path(), L"当前版本:1.24E"));
    CHECK(ReadStoredVersion(folder.Path()) == CString(L"当前版本:1.24E"));
    std::string bytes = *folder.Read(L"wargame.ini");
    REQUIRE(bytes.size() > 2);
    CHECK(bytes.substr(0, 2) == "\xFF\xFE");
    CHECK(WriteStoredVersion(folder.Path(), L"当前版本:1.20E+4M"));
    CHECK(ReadStoredVersion(folder.Path()) == CString(L"当前版本:1.20E+4M"));
}

TEST_CASE("a file in any encoding is read, and rewritten as UTF-16 with its other lines")
{
    const bool chinese = GetACP() == 936;
    struct Case { const char* name; std::string bytes; const wchar_t* value; };
    const Case cases[] = {
        {"empty", "", L""},
        {"UTF-16", std::string("\xFF\xFE[\0G\0a\0m\0e\0M\0a\0i\0n\0]\0\n\0B\0a\0n\0B\0e\0n\0=\0\x53\x5F\0", 40), L"\u5F53"},
        {"UTF-8", "[Other]\r\nKey=kept\r\n[GameMain]\r\nBanBen=\xE5\xBD\x93\xE5\x89\x8D\r\n", L"当前"},
        // GBK, as launchers before wrote it on Chinese systems: only there is it read as Chinese.
        {"ANSI", "[Other]\r\nKey=kept\r\n[GameMain]\r\nBanBen=\xB5\xB1\xC7\xB0\r\n", chinese ? L"当前" : nullptr},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        TempFolder folder;
        REQUIRE(folder.Write(L"wargame.ini", c.bytes));
        CString read = ReadStoredVersion(folder.Path());
        if (c.value) CHECK(read == CString(c.value));
        REQUIRE(WriteStoredVersion(folder.Path(), L"当前版本:1.26"));
        CHECK(ReadStoredVersion(folder.Path()) == CString(L"当前版本:1.26"));
        std::string bytes = *folder.Read(L"wargame.ini");
        CHECK(bytes.substr(0, 2) == "\xFF\xFE");
        std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
        if (c.bytes.find("Key=kept") != std::string::npos) CHECK(text.find(L"[Other]\r\nKey=kept") != std::wstring::npos);
    }
}

TEST_CASE("a read-only record is read but not written, and says so")
{
    TempFolder folder;
    REQUIRE(folder.Write(L"wargame.ini", "[GameMain]\r\nBanBen=\xE5\xBD\x93\r\n"));
    REQUIRE(SetFileAttributesW(folder.PathOf(L"wargame.ini").c_str(), FILE_ATTRIBUTE_READONLY));
    CHECK(ReadStoredVersion(folder.Path()) == CString(L"当"));
    CHECK_FALSE(WriteStoredVersion(folder.Path(), L"当前版本:1.26"));
    CHECK(ReadStoredVersion(folder.Path()) == CString(L"当"));
    SetFileAttributesW(folder.PathOf(L"wargame.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
    CHECK(folder.Remove());
}

TEST_CASE("missing values read as empty and long ones are cut to 259 characters")
{
    TempFolder folder;
    CHECK(ReadStoredVersion(folder.Path()).IsEmpty());
    std::string ini = "[GameMain]\r\nBanBen=" + std::string(300, 'v') + "\r\n";
    REQUIRE(folder.Write(L"wargame.ini", ini));
    CHECK(ReadStoredVersion(folder.Path()).GetLength() == 259);
    const char noKey[] = "[GameMain]\r\nOther=1\r\n";
    REQUIRE(folder.Write(L"wargame.ini", noKey));
    CHECK(ReadStoredVersion(folder.Path()).IsEmpty());
}
