#include "app/SwitchReport.h"
#include "Utf8.h"
#include <doctest/doctest.h>

namespace {

SwitchOutcome Outcome(void (*set)(SwitchOutcome&), bool finished = true)
{
    SwitchOutcome outcome;
    set(outcome);
    outcome.finished = finished;
    return outcome;
}

const std::wstring kNothingWritten = L"未写入任何文件，版本显示和记录保持不变。";
const std::wstring kBlocked = L"无法转换版本，以下文件不能替换：\n\n";
const std::wstring kInUse = L"这些文件正在被其他程序使用，可能是游戏正在运行。请先退出游戏，然后重试。\n\n";
const std::wstring kReasons =
    L"可能的原因：游戏正在运行；没有写入游戏目录的权限（请以管理员身份运行本程序）；或版本数据包已损坏。\n\n版本显示和记录保持不变。";

} // namespace

TEST_CASE("a switch's boxes: each missing package, then what stopped the switch, every cause explained")
{
    struct Case { const char* name; SwitchOutcome outcome; std::wstring error; };
    const Case cases[] = {
        {"done", Outcome([](SwitchOutcome&) {}), L""},
        {"missing", Outcome([](SwitchOutcome& o) { o.missingPackages = {188}; }), L""},
        {"interrupted", Outcome([](SwitchOutcome& o) { o.missingPackages = {188}, o.failedEntries = {L"x"}; }, false), L""},
        {"in use", Outcome([](SwitchOutcome& o) {
             o.blockedFiles = {{L"game.dll", ZipTargetState::InUse}, {L"war3.exe", ZipTargetState::InUse}};
         }), kBlocked + L"    game.dll\n    war3.exe\n\n" + kInUse + kNothingWritten},
        {"mixed", Outcome([](SwitchOutcome& o) {
             o.blockedFiles = {{L"game.dll", ZipTargetState::InUse}, {L"Storm.dll", ZipTargetState::Protected},
                               {L"war3.exe", ZipTargetState::InUse}, {L"x", ZipTargetState::NoAccess}};
         }), kBlocked + L"    game.dll\n    war3.exe\n\n" + kInUse +
             L"    Storm.dll\n\n这些文件带有只读、隐藏或系统属性。请取消这些属性，然后重试。\n\n"
             L"    x\n\n没有写入游戏目录的权限。请以管理员身份运行本程序，然后重试。\n\n" + kNothingWritten},
        {"room", Outcome([](SwitchOutcome& o) { o.lacksRoom = true, o.needed = 3 * 1048576 + 1, o.available = 1048576; }),
         L"游戏目录所在的磁盘空间不足，无法转换版本。\n\n需要 4 MB，可用 1 MB。\n\n" + kNothingWritten},
        {"damaged", Outcome([](SwitchOutcome& o) { o.damaged = true; }),
         L"无法转换版本：版本数据包已损坏，无法读取。\n\n" + kNothingWritten},
        {"failed", Outcome([](SwitchOutcome& o) { o.failedEntries = {L"game.dll", L"#3"}; }),
         L"版本转换未完成，以下文件未能替换：\n\n    game.dll\n    #3\n\n" + kReasons},
        {"unreadable", Outcome([](SwitchOutcome& o) { o.unreadable = true; }),
         L"版本转换未完成：版本数据包无法读取，没有文件被替换。\n\n" + kReasons},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        std::vector<SwitchNotice> notices = SwitchNotices(c.outcome);
        size_t missing = c.outcome.missingPackages.size();
        REQUIRE(notices.size() == missing + (c.error.empty() ? 0 : 1));
        for (size_t i = 0; i < missing; ++i) {
            CHECK(Utf8(notices[i].text.Str()) == Utf8(L"无法获取相关资源!"));
            CHECK(notices[i].caption == nullptr);
            CHECK(notices[i].type == 0u);
        }
        if (c.error.empty()) continue;
        CHECK(Utf8(notices.back().text.Str()) == Utf8(c.error));
        CHECK(Utf8(notices.back().caption) == Utf8(L"版本转换失败"));
        CHECK(notices.back().type == static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
}
