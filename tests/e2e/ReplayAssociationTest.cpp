#include "LauncherFolder.h"
#include "Utf8.h"
#include "framework/CRegKey.h"
#include <doctest/doctest.h>

namespace {

// The default value of a key of the current user's classes; "<none>" when the key is missing.
// Read there rather than through HKEY_CLASSES_ROOT, which Wine does not merge with them.
std::wstring ShellClass(const std::wstring& key)
{
    CRegKey opened;
    if (opened.Open(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key).c_str(), KEY_READ) != ERROR_SUCCESS)
        return L"<none>";
    CString value;
    opened.QueryStringValue(nullptr, &value);
    return value.Str();
}

// Removes what the launcher may have left in the prefix's per-user classes, however the test ends.
struct UserClassesCleanup {
    ~UserClassesCleanup()
    {
        CRegKey classes;
        if (classes.Open(HKEY_CURRENT_USER, L"Software\\Classes") != ERROR_SUCCESS) return;
        for (const wchar_t* key : {L".w3g", L".nwg", L"Kelvadi.Replay"}) classes.RecurseDeleteKey(key);
    }
};

} // namespace

TEST_CASE("/associate and /unassociate change the replay association, show nothing and exit with 0")
{
    REQUIRE(ShellClass(L".w3g") == L"<none>");
    REQUIRE(ShellClass(L".nwg") == L"<none>");
    UserClassesCleanup cleanup;
    LauncherFolder game;
    const std::wstring open = L"\"" + game.LauncherPath() + L"\" \"%1\"";

    Process associating = Process::Start(game.LauncherPath(), L"/associate", game.folder.Path());
    REQUIRE(associating.Started());
    CHECK(associating.WaitForExit(10000) == std::optional<DWORD>(0));
    CHECK(Utf8(ShellClass(L".w3g")) == "Kelvadi.Replay");
    CHECK(Utf8(ShellClass(L".nwg")) == "Kelvadi.Replay");
    CHECK(Utf8(ShellClass(L"Kelvadi.Replay\\shell\\open\\command")) == Utf8(open));
    CHECK(Utf8(ShellClass(L"Kelvadi.Replay\\DefaultIcon")) == Utf8(L"\"" + game.LauncherPath() + L"\",0"));
    CHECK_FALSE(game.folder.Exists(L"wargame.ini"));

    Process removing = Process::Start(game.LauncherPath(), L" /UNASSOCIATE ", game.folder.Path());
    REQUIRE(removing.Started());
    CHECK(removing.WaitForExit(10000) == std::optional<DWORD>(0));
    CHECK(ShellClass(L".w3g") == L"<none>");
    CHECK(ShellClass(L".nwg") == L"<none>");
    CHECK(ShellClass(L"Kelvadi.Replay") == L"<none>");
}
