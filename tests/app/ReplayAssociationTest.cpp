#include <doctest/doctest.h>
#include "app/ReplayAssociation.h"
#include "framework/CRegKey.h"
#include <optional>
#include <string>
#include <windows.h>

namespace {

// A classes key of this test process's own under HKEY_CURRENT_USER, removed before and after.
struct ScratchClasses {
    const std::wstring name = L"KelvadiTests" + std::to_wstring(GetCurrentProcessId());
    const std::wstring classes = L"Software\\" + name + L"\\Classes";
    ScratchClasses() { Remove(); }
    ~ScratchClasses() { Remove(); }
    void Remove() const
    {
        CRegKey software;
        if (software.Open(HKEY_CURRENT_USER, L"Software") == ERROR_SUCCESS) software.RecurseDeleteKey(name.c_str());
    }
    // The default value of a key below the classes; nothing when the key is missing.
    std::optional<std::wstring> Default(const std::wstring& key) const
    {
        CRegKey opened;
        CString value;
        if (opened.Open(HKEY_CURRENT_USER, (classes + L"\\" + key).c_str(), KEY_READ) != ERROR_SUCCESS) return {};
        opened.QueryStringValue(nullptr, &value);
        return value.Str();
    }
    bool SetDefault(const std::wstring& key, const std::wstring& value) const
    {
        CRegKey created;
        return created.Create(HKEY_CURRENT_USER, (classes + L"\\" + key).c_str()) == ERROR_SUCCESS &&
               created.SetStringValue(nullptr, value.c_str()) == ERROR_SUCCESS;
    }
};

} // namespace

TEST_CASE("replay association: taken, given back, and others' classes left alone")
{
    const std::wstring launcher = L"C:\\Games\\魔兽 III\\vorelin.exe";
    struct Case {
        const char* what;
        const wchar_t* before;      // the class .w3g and .nwg name first; null for no key at all
        int associations;
        const wchar_t* takenAfter;  // a class another program gives .w3g after the association
        bool extraSubkey;           // .w3g holds a subkey of others'
    };
    const Case cases[] = {
        {"fresh", nullptr, 1, nullptr, false},
        {"fresh, twice", nullptr, 2, nullptr, false},
        {"over another program's class", L"Other.Replay", 1, nullptr, false},
        {"over another program's class, twice", L"Other.Replay", 2, nullptr, false},
        {"taken by another program since", L"Other.Replay", 1, L"Third.Replay", false},
        {"beside others' subkeys", nullptr, 1, nullptr, true},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.what));
        ScratchClasses scratch;
        ReplayAssociation association(launcher.c_str(), scratch.classes.c_str());
        REQUIRE(scratch.SetDefault(L"Other.Replay\\shell\\open\\command", L"other.exe \"%1\""));
        for (const wchar_t* extension : {L".w3g", L".nwg"})
            if (c.before) REQUIRE(scratch.SetDefault(extension, c.before));
        if (c.extraSubkey) REQUIRE(scratch.SetDefault(L".w3g\\OpenWithProgids", L""));
        CHECK_FALSE(association.IsAssociated());

        for (int i = 0; i < c.associations; ++i) CHECK(association.Associate());
        CHECK(association.IsAssociated());
        CHECK(scratch.Default(L".w3g") == ReplayAssociation::kClassName);
        CHECK(scratch.Default(L".nwg") == ReplayAssociation::kClassName);
        CHECK(scratch.Default(L"Kelvadi.Replay\\shell\\open\\command") == L"\"" + launcher + L"\" \"%1\"");
        CHECK(scratch.Default(L"Kelvadi.Replay\\DefaultIcon") == L"\"" + launcher + L"\",0");
        // A launcher elsewhere, as after the folder moved, is not the one associated.
        CHECK_FALSE(ReplayAssociation(L"D:\\vorelin.exe", scratch.classes.c_str()).IsAssociated());
        if (c.takenAfter) REQUIRE(scratch.SetDefault(L".w3g", c.takenAfter));

        // A second removal, once all is given back, changes nothing.
        for (int removal = 0; removal < 2; ++removal) {
            CHECK(association.Unassociate());
            CHECK_FALSE(association.IsAssociated());
            CHECK_FALSE(scratch.Default(L"Kelvadi.Replay"));
            const wchar_t* w3g = c.takenAfter ? c.takenAfter : c.before ? c.before : c.extraSubkey ? L"" : nullptr;
            CHECK(scratch.Default(L".w3g") == (w3g ? std::optional<std::wstring>(w3g) : std::nullopt));
            CHECK(scratch.Default(L".nwg") == (c.before ? std::optional<std::wstring>(c.before) : std::nullopt));
            CHECK(scratch.Default(L"Other.Replay\\shell\\open\\command") == L"other.exe \"%1\"");
        }
    }
}
