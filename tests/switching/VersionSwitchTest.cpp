#include "switching/VersionSwitch.h"
#include "switching/SwitchTransaction.h"
#include "TempFolder.h"
#include "TestArchive.h"
#include "TestPackages.h"
#include <doctest/doctest.h>

TEST_CASE("a missing or a damaged package stops a switch before anything is written")
{
    const VersionVariant variant{{1, 2}, L"label", L"confirmation"};
    std::string damaged = BuildArchive({File("two.txt", "2"), File("three.txt", "3")});
    damaged[damaged.find("PK\x01\x02", damaged.find("PK\x01\x02") + 4) + 3] = 9;
    struct Case { const char* second; bool complete, damaged; std::vector<unsigned int> missing; bool oneWritten; };
    const Case cases[] = {
        {nullptr, false, false, {2}, false},
        {"damaged", false, true, {}, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.damaged);
        g_packages = {{1, BuildArchive({File("one.txt", "1")})}};
        if (c.second) g_packages[2] = damaged;
        TempFolder game;
        SwitchOutcome outcome;
        VersionSwitch(game.Path(), FindTestPackage).Run(variant, outcome);
        CHECK(outcome.finished);
        CHECK(outcome.Complete() == c.complete);
        CHECK(outcome.stop == (c.damaged ? SwitchStop::Damaged : SwitchStop::MissingPackages));
        CHECK(outcome.missingPackages == c.missing);
        CHECK(game.Exists(L"one.txt") == c.oneWritten);
        CHECK_FALSE(game.Exists(L"war_temp.zip"));
    }
}

TEST_CASE("a game folder deeper than MAX_PATH switches whole, and nothing lands elsewhere")
{
    const VersionVariant variant{{1, 0}, L"label", L"confirmation"};
    g_packages = {{1, BuildArchive({File("one.txt", "1"), File("two.txt", "2")})}};
    TempFolder top;
    std::wstring game = top.Path();
    while (game.size() < 300) {
        game += L"\\" + std::wstring(90, L'g');
        REQUIRE(CreateDirectoryW((L"\\\\?\\" + game).c_str(), nullptr));
    }
    SwitchOutcome outcome;
    VersionSwitch(game.c_str(), FindTestPackage).Run(variant, outcome);
    CHECK(outcome.Complete());
    CHECK(outcome.recordWritten);
    CHECK(ReadWholeFile(L"\\\\?\\" + game + L"\\two.txt") == "2");
    CHECK(ListTree(L"\\\\?\\" + game) ==
          std::vector<std::wstring>{L"one.txt", L"two.txt", L"wargame.ini", L"~kelvadi-versions", L"~kelvadi-versions\\stamps"});
    RemoveTree(L"\\\\?\\" + top.Path());
}

TEST_CASE("an original that cannot be kept yet is never removed, and no switch begins until a start has kept it")
{
    g_packages = {{1, BuildArchive({File("one.txt", "1")})}, {2, BuildArchive({File("two.txt", "2")})}};
    TempFolder game;
    REQUIRE(game.Write(L"one.txt", "mine"));
    // A file where the backup folder would go: nothing can be moved into it.
    REQUIRE(game.Write(SwitchTransaction::kBackupFolder, ""));
    SwitchOutcome first;
    VersionSwitch(game.Path(), FindTestPackage).Run({{1, 0}, L"one", L"done"}, first);
    CHECK(first.Complete());
    CHECK(first.unkeptOriginals == std::vector<CString>{L"one.txt"});
    CHECK(game.Read(L"one.txt") == "1");
    CHECK(game.Read(L"~kelvadi-switch\\0.old") == "mine");

    SwitchOutcome second;
    VersionSwitch(game.Path(), FindTestPackage).Run({{2, 0}, L"two", L"done"}, second);
    CHECK(second.stop == SwitchStop::EarlierPending);
    CHECK_FALSE(game.Exists(L"two.txt"));
    CHECK(game.Read(L"~kelvadi-switch\\0.old") == "mine");

    REQUIRE(DeleteFileW(game.PathOf(SwitchTransaction::kBackupFolder).c_str()));
    CHECK(SwitchTransaction(game.Path().c_str()).Recover() == RecoveryResult::RolledForward);
    CHECK(game.Read(std::wstring(SwitchTransaction::kBackupFolder) + L"\\one.txt") == "mine");
    CHECK_FALSE(game.Exists(L"~kelvadi-switch"));
}

TEST_CASE("the largest entry, extracted beside the others, fails the switch as any entry would and yields to a later one of its name")
{
    const VersionVariant variant{{1, 0}, L"label", L"confirmation"};
    const std::string big = CompressibleText(5 << 20, 1), other = CompressibleText(5 << 20, 2);
    TestEntry damaged = File("big.bin", big);
    damaged.crcWrong = true;
    struct Case { const char* name; std::vector<TestEntry> entries; const std::string* bigAfter; };
    const Case cases[] = {
        {"whole", {File("small.txt", "s"), File("big.bin", big)}, &big},
        {"its data damaged", {File("small.txt", "s"), damaged}, nullptr},
        {"two of one name", {File("big.bin", big), File("small.txt", "s"), File("BIG.bin", other)}, &other},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        g_packages = {{1, BuildArchive(c.entries)}};
        TempFolder game;
        SwitchOutcome outcome;
        VersionSwitch(game.Path(), FindTestPackage).Run(variant, outcome);
        CHECK(outcome.Complete() == (c.bigAfter != nullptr));
        CHECK(game.Read(L"big.bin") == (c.bigAfter ? std::optional<std::string>(*c.bigAfter) : std::nullopt));
        CHECK(game.Exists(L"small.txt") == (c.bigAfter != nullptr));
        if (!c.bigAfter) CHECK(outcome.failedEntries == std::vector<CString>{L"big.bin"});
    }
}
