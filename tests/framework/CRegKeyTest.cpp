#include <doctest/doctest.h>
#include "framework/CRegKey.h"
#include <string>

TEST_CASE("registry keys: strings with and without terminators, other types, length; deleting a tree")
{
    CRegKey key;
    REQUIRE(key.Create(HKEY_CURRENT_USER, L"Software\\KelvadiRegKeyTest") == ERROR_SUCCESS);
    const wchar_t unterminated[] = {L'a', L'b'};
    const DWORD number = 7;
    REQUIRE(RegSetValueExW(key, L"unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated),
                           sizeof unterminated) == ERROR_SUCCESS);
    REQUIRE(RegSetValueExW(key, L"number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number) ==
            ERROR_SUCCESS);
    const std::wstring huge(70000, L'x');
    REQUIRE(key.SetStringValue(L"huge", huge.c_str()) == ERROR_SUCCESS);
    CString value = L"stale";
    CHECK(key.QueryStringValue(L"unterminated", &value) == ERROR_SUCCESS);
    CHECK(value == CString(L"ab"));
    CHECK(key.QueryStringValue(L"number", &value) == ERROR_INVALID_DATA);
    CHECK(value.IsEmpty());
    CHECK(key.QueryStringValue(L"huge", &value) == ERROR_MORE_DATA);
    CHECK(key.QueryStringValue(L"absent", &value) == ERROR_FILE_NOT_FOUND);
    CRegKey nested;
    for (const wchar_t* below : {L"a\\b\\c", L"a\\d", L"e"}) REQUIRE(nested.Create(key, below) == ERROR_SUCCESS);
    nested.Close();
    key.Close();
    CRegKey software;
    REQUIRE(software.Open(HKEY_CURRENT_USER, L"Software") == ERROR_SUCCESS);
    CHECK(software.RecurseDeleteKey(L"KelvadiRegKeyTest") == ERROR_SUCCESS);
    CHECK(key.Open(software, L"KelvadiRegKeyTest") == ERROR_FILE_NOT_FOUND);
    CHECK(software.RecurseDeleteKey(L"KelvadiRegKeyTest") == ERROR_SUCCESS);
}
