#include "switching/SwitchJournal.h"
#include "TempFolder.h"
#include "TestPackages.h"
#include "Utf8.h"
#include "framework/CHandle.h"
#include <doctest/doctest.h>
#include <functional>

TEST_CASE("the journal reads back whole, and one that is there but not whole is never taken for none")
{
    TempFolder folder;
    SwitchJournal written;
    written.label = L"当前版本:1.20E";
    written.entries = {{0, L"game.dll", 9375804, 0xdeadbeef, true, false}, {1, L"Maps\\新.w3x", 0, 0, false, true}};
    const std::wstring path = folder.PathOf(L"journal");
    REQUIRE(written.Write(path) == 0);
    const std::string whole = *folder.Read(L"journal");

    struct Case { const char* name; std::function<std::string(std::string)> change; bool held; JournalState state; };
    const Case cases[] = {
        {"whole", [](std::string s) { return s; }, false, JournalState::Read},
        {"held without read sharing", [](std::string s) { return s; }, true, JournalState::Unreadable},
        // Still a number: only the checksum can tell.
        {"one digit changed", [](std::string s) { s[s.find(std::string(reinterpret_cast<const char*>(L"9375804"), 14))] = '8'; return s; },
         false, JournalState::Unreadable},
        {"cut before the end mark", [](std::string s) { return s.substr(0, s.size() - 8); }, false, JournalState::Unreadable},
        {"an odd byte count", [](std::string s) { return s + "x"; }, false, JournalState::Unreadable},
        {"over the size limit", [](std::string s) { return s + std::string((1 << 20) + 2, ' '); }, false, JournalState::Unreadable},
        {"of another build", [](std::string s) { return s.replace(2 * 23, 1, "9"); }, false, JournalState::Unreadable},
        {"empty", [](std::string) { return std::string(); }, false, JournalState::Unreadable},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        REQUIRE(folder.Write(L"journal", c.change(whole)));
        CHandle held = c.held ? Hold(folder, L"journal") : CHandle();
        SwitchJournal read;
        CHECK(read.Read(path) == c.state);
        if (c.state != JournalState::Read) continue;
        CHECK(read.label == written.label);
        REQUIRE(read.entries.size() == 2);
        CHECK(read.entries[0].size == 9375804);
        CHECK(read.entries[0].crc == 0xdeadbeef);
        CHECK(read.entries[1].target == CString(L"Maps\\新.w3x"));
        CHECK((read.entries[1].keepOriginal && !read.entries[1].hadOriginal));
    }
    CHECK(SwitchJournal().Read(folder.PathOf(L"none")) == JournalState::Absent);

    // Whole, with its checksum, yet naming a file outside the game folder or one slot twice.
    for (const wchar_t* target : {L"..\\evil.dll", L"Maps\\..\\..\\evil.dll", L"C:\\evil.dll", L"\\evil.dll", L"twice"}) {
        CAPTURE(Utf8(target));
        SwitchJournal odd = written;
        odd.entries[1].target = target;
        if (odd.entries[1].target == CString(L"twice")) odd.entries[1].slot = 0;
        REQUIRE(odd.Write(path) == 0);
        CHECK(SwitchJournal().Read(path) == JournalState::Unreadable);
    }
}
