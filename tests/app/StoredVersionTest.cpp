#include "app/StoredVersion.h"
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
    WriteStoredVersion(folder.Path(), L"当前版本:1.24E");
    CHECK(ReadStoredVersion(folder.Path()) == CString(L"当前版本:1.24E"));
    std::string bytes = *folder.Read(L"wargame.ini");
    REQUIRE(bytes.size() > 2);
    CHECK(bytes.substr(0, 2) == "\xFF\xFE");
    WriteStoredVersion(folder.Path(), L"当前版本:1.20E+4M");
    CHECK(ReadStoredVersion(folder.Path()) == CString(L"当前版本:1.20E+4M"));
}

TEST_CASE("an existing ANSI file keeps its encoding and its other lines")
{
    TempFolder folder;
    const char text[] = "[Other]\r\nKey=kept\r\n[GameMain]\r\nBanBen=old\r\n";
    REQUIRE(folder.Write(L"wargame.ini", text));
    CHECK(ReadStoredVersion(folder.Path()) == CString(L"old"));
    WriteStoredVersion(folder.Path(), L"当前版本:1.26");
    std::string bytes = *folder.Read(L"wargame.ini");
    CHECK(bytes.substr(0, 7) == "[Other]");
    CHECK(bytes.find("Key=kept") != std::string::npos);
    CHECK(bytes.find("old") == std::string::npos);
    // Read back through the same code page it was written with.
    CHECK(ReadStoredVersion(folder.Path()).Find(L"1.26") >= 0);
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
