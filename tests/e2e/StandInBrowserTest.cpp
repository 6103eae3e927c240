#include "LauncherFolder.h"
#include "Utf8.h"
#include <doctest/doctest.h>
#include <cstdint>
#include <fstream>
#include <sstream>

namespace {

// A panel's persisted state as the dialog-initialisation data must hold it, field by field.
std::string State(uint32_t width, uint32_t height)
{
    std::string bytes;
    auto put32 = [&](uint32_t value) { for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i)); };
    auto putGuid = [&](const GUID& guid) { bytes.append(reinterpret_cast<const char*>(&guid), sizeof guid); };
    for (uint32_t value : {0u, 76u, width, height, 0u, 0u, 0u, 0u, 0u, 0u, 76u, 0u, 0u, 1u}) put32(value);
    putGuid({0x0057D0E0, 0x3573, 0x11CF, {0xAE, 0x69, 0x08, 0x00, 0x2B, 0x2E, 0x12, 0x62}});
    put32(8);
    put32(0);
    // The shell link header: size, class, Unicode flag alone, no attributes, times or size,
    // icon 0, normal window, no hot key, reserved.
    put32(76);
    putGuid({0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}});
    put32(0x80);
    for (int i = 0; i < 9; ++i) put32(0);
    put32(1);
    for (int i = 0; i < 3; ++i) put32(0);
    put32(0);  // terminal block
    return bytes;
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

std::vector<std::string> Lines(const std::wstring& path)
{
    std::ifstream file(path.c_str());
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

} // namespace

TEST_CASE("stand-in control: the panels come once the window is shown and painted; each one's state arrives byte "
          "for byte, with one Navigate each, top first")
{
    LauncherFolder game;
    const std::wstring log = game.folder.PathOf(L"standin.log");
    REQUIRE(SetEnvironmentVariableW(L"STANDIN_LOG", log.c_str()));
    REQUIRE(game.Start());
    Window dialog = game.WaitForDialog();
    REQUIRE_MESSAGE(dialog, Utf8(game.launcher.Describe()));
    CHECK(dialog.Command(1001));
    REQUIRE(game.launcher.WaitForExit(10000).has_value());
    SetEnvironmentVariableW(L"STANDIN_LOG", nullptr);

    std::vector<std::string> parents, loads, calls;
    for (const std::string& line : Lines(log)) {
        if (line.rfind("parent ", 0) == 0) parents.push_back(line);
        if (line.rfind("load ", 0) == 0) loads.push_back(line);
        if (line.rfind("invoke ", 0) == 0) calls.push_back(line);
    }
    // The window never waits for the panels.
    // The first panel's control is hidden until its page loads, which leaves its place to be
    // repainted when the second comes.
    REQUIRE(parents.size() == 2);
    CHECK(parents[0] == "parent 1 shown painted");
    CHECK(parents[1].rfind("parent 2 shown ", 0) == 0);
    CHECK(State(10329, 1185).size() == 160);
    CHECK(loads == std::vector<std::string>{"load 1 " + Hex(State(10329, 1185)), "load 2 " + Hex(State(10287, 6011))});
    // Dispatch id 104 as a method without result; arguments right to left: four references to
    // empty variants, then the address.
    const std::string empties = " 16396->0 16396->0 16396->0 16396->0 8:";
    CHECK(calls == std::vector<std::string>{"invoke 1 104 flags 1 noresult" + empties + "http://ad.kelvadi.com/gg/3.htm",
                                            "invoke 2 104 flags 1 noresult" + empties + "http://ad.kelvadi.com/gg/4.htm"});
}
