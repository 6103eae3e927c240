#include <doctest/doctest.h>
#include "app/VersionLabel.h"
#include <string>
#include <windows.h>

TEST_CASE("version label from file-version text")
{
    struct Case { const wchar_t* version; const wchar_t* label; };
    const Case cases[] = {
        {L"1, 20, 4, 6074", L"当前版本:1.20E"},
        {L"1, 24, 4, 6387", L"当前版本:1.24E"},
        {L"1, 24, 1, 0", L"当前版本:1.24B"},
        {L"1, 24, 0, 0", L"当前版本:1.24"},
        {L"1, 26, 0, 6401", L"当前版本:1.26"},
        {L"1, 21, 1, 0", L"B"},
        {L"1, 22, 0, 0", L"B"},
        {L"2, 5", L"C"},
        {L"1, 20", L"当前版本:1.20B"},
        {L"2, 1, 20, 0", L"当前版本:1.20C"},
        {L"", L""},
        {L"9", L""},
    };
    for (const Case& c : cases) {
        CAPTURE(std::wstring(c.version).size());
        CHECK(VersionLabelFromFileVersion(c.version) == CString(c.label));
    }
}

TEST_CASE("directory of a path")
{
    CHECK(GetDirectoryOfPath(L"C:\\Games\\War3\\vorelin.exe") == CString(L"C:\\Games\\War3"));
    CHECK(GetDirectoryOfPath(L"C:\\x.exe") == CString(L"C:"));
    CHECK(GetDirectoryOfPath(L"C:/a/b.exe") == CString(L""));
    CHECK(GetDirectoryOfPath(L"") == CString(L""));
}

TEST_CASE("missing or versionless game.dll gives the empty label")
{
    CHECK(DetectInstalledVersion(L"C:\\no\\such\\game.dll").IsEmpty());
    wchar_t windir[260];
    GetWindowsDirectoryW(windir, 260);
    CHECK(DetectInstalledVersion(CString(windir) + L"\\win.ini").IsEmpty());
}

TEST_CASE("detection from real version resources")
{
    // The DLLs are built beside the test executable; ctest runs it in the build folder.
    struct Case { const wchar_t* file; const wchar_t* label; };
    const Case cases[] = {
        {L"versiondll\\v124.dll", L"当前版本:1.24E"},
        {L"versiondll\\v120spaces.dll", L"当前版本:1.20E"},
        {L"versiondll\\vtwo.dll", L"当前版本:1.26"},
        {L"versiondll\\vsecondfirst.dll", L"当前版本:1.20E"},
    };
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    for (const Case& c : cases) {
        CString path = CString(cwd) + L"\\" + c.file;
        CAPTURE(std::wstring(c.file).size());
        REQUIRE(GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES);
        CHECK(DetectInstalledVersion(path) == CString(c.label));
    }
}
