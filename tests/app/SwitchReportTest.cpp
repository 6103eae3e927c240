#include "app/SwitchReport.h"
#include "Utf8.h"
#include <doctest/doctest.h>

namespace {

SwitchOutcome Outcome(SwitchStop stop, void (*set)(SwitchOutcome&) = nullptr, bool finished = true)
{
    SwitchOutcome outcome;
    outcome.stop = stop;
    if (set) set(outcome);
    outcome.finished = finished;
    return outcome;
}

const std::wstring kNothingWritten = L"未写入任何文件，版本显示和记录保持不变。";
const std::wstring kBlocked = L"无法转换版本，以下文件不能替换：\n\n";
const std::wstring kInUse = L"这些文件正在被其他程序使用，可能是游戏正在运行。请先退出游戏，然后重试。\n\n";
const std::wstring kUntouched = L"\n\n游戏文件没有改动，版本显示和记录保持不变。";

} // namespace

TEST_CASE("a switch's boxes: each missing package, then what stopped the switch, every cause explained")
{
    struct Case { const char* name; SwitchOutcome outcome; std::wstring error; };
    const Case cases[] = {
        {"done", Outcome(SwitchStop::None), L""},
        {"missing", Outcome(SwitchStop::MissingPackages, [](SwitchOutcome& o) { o.missingPackages = {188}; }),
         L"无法转换版本：本程序缺少此版本所需的数据包。\n\n" + kNothingWritten},
        {"busy", Outcome(SwitchStop::Busy),
         L"另一个启动器正在转换此游戏目录的版本。请等它完成后再试。\n\n本次" + kNothingWritten},
        {"refused", Outcome(SwitchStop::CommitRefused, [](SwitchOutcome& o) { o.file = L"game.dll"; }),
         L"无法转换版本：替换文件 game.dll 时被拒绝，它可能刚被其他程序（游戏、杀毒软件）打开。\n\n已替换的文件均已恢复，游戏仍是原来的版本，"
         L"版本显示和记录保持不变。"},
        {"interrupted", Outcome(SwitchStop::EntryFailed, [](SwitchOutcome& o) { o.missingPackages = {188}, o.failedEntries = {L"x"}; }, false), L""},
        {"in use", Outcome(SwitchStop::Blocked, [](SwitchOutcome& o) {
             o.blockedFiles = {{L"game.dll", ZipTargetState::InUse}, {L"war3.exe", ZipTargetState::InUse}};
         }), kBlocked + L"    game.dll\n    war3.exe\n\n" + kInUse + kNothingWritten},
        {"mixed", Outcome(SwitchStop::Blocked, [](SwitchOutcome& o) {
             o.blockedFiles = {{L"game.dll", ZipTargetState::InUse}, {L"Storm.dll", ZipTargetState::Protected},
                               {L"war3.exe", ZipTargetState::InUse}, {L"x", ZipTargetState::NoAccess}};
         }), kBlocked + L"    game.dll\n    war3.exe\n\n" + kInUse +
             L"    Storm.dll\n\n这些文件带有只读、隐藏或系统属性。请取消这些属性，然后重试。\n\n"
             L"    x\n\n没有写入游戏目录的权限。请以管理员身份运行本程序，然后重试。\n\n" + kNothingWritten +
             L"\n\n是否以管理员身份重新启动本程序？"},
        {"room", Outcome(SwitchStop::LacksRoom, [](SwitchOutcome& o) { o.needed = 3 * 1048576 + 1, o.available = 1048576; }),
         L"游戏目录所在的磁盘空间不足，无法转换版本。\n\n需要 4 MB，可用 1 MB。\n\n" + kNothingWritten},
        {"damaged", Outcome(SwitchStop::Damaged),
         L"无法转换版本：版本数据包已损坏，无法读取。\n\n" + kNothingWritten},
        {"failed", Outcome(SwitchStop::EntryFailed, [](SwitchOutcome& o) { o.failedEntries = {L"#3"}; }),
         L"无法转换版本，以下文件未能写入：\n\n    #3\n\n"
         L"可能的原因：磁盘已满；没有写入游戏目录的权限（请以管理员身份运行本程序）；或版本数据包已损坏。" + kUntouched},
        {"full", Outcome(SwitchStop::EntryFailed, [](SwitchOutcome& o) { o.failedEntries = {L"game.dll"}, o.diskFull = true; }),
         L"无法转换版本，以下文件未能写入：\n\n    game.dll\n\n游戏目录所在的磁盘已满。请释放磁盘空间，然后重试。" + kUntouched},
        {"unreadable", Outcome(SwitchStop::ArchiveUnreadable), L"无法转换版本：版本数据包无法读取。" + kUntouched},
        {"earlier pending", Outcome(SwitchStop::EarlierPending, [](SwitchOutcome& o) { o.earlier = RecoveryResult::Unreadable; }),
         L"上一次版本转换没有完成，但它的日志文件“~kelvadi-switch\\journal”无法读取：它可能正被其他程序（杀毒软件、备份软件）占用，"
         L"或者已经损坏。为了不丢失文件，本程序没有移动或删除任何文件。\n\n请关闭可能占用它的程序，然后重新启动本程序，它会先完成上一次转换。"
         L"\n\n没有删除任何文件：“~kelvadi-switch”文件夹中的文件是游戏原有的文件和新版本的文件，请不要删除它们。\n\n本次未写入任何文件。"},
        {"staged lost", Outcome(SwitchStop::StagedLost, [](SwitchOutcome& o) { o.file = L"game.dll"; }),
         L"无法转换版本：已写好的文件 game.dll 在替换之前不见了或被其他程序占用，很可能是杀毒软件所为。请把游戏目录加入杀毒软件的信任列表，然后重试。"
         + kUntouched},
        {"journal unwritten", Outcome(SwitchStop::JournalUnwritten, [](SwitchOutcome& o) { o.error = ERROR_DISK_FULL; }),
         L"无法转换版本：无法在游戏目录中写入版本转换日志（磁盘已满）。" + kUntouched},
        {"no rights", Outcome(SwitchStop::FolderRefused, [](SwitchOutcome& o) { o.error = ERROR_ACCESS_DENIED; }),
         L"无法转换版本：无法在游戏目录中写入临时文件。请检查游戏目录的写入权限（或以管理员身份运行本程序）。" + kUntouched +
             L"\n\n是否以管理员身份重新启动本程序？"},
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
        // Only a lack of rights offers to start again as administrator.
        bool offers = std::string(c.name) == "mixed" || std::string(c.name) == "no rights";
        CHECK(notices.back().offersElevation == offers);
        CHECK(notices.back().type == static_cast<UINT>((offers ? MB_YESNO : MB_OK) | MB_ICONERROR));
    }
}

TEST_CASE("the confirmation names the originals kept, those left for the next start, and a record not written")
{
    const VersionVariant variant{{1, 0}, L"当前版本:1.26", L"版本转换成功，当前版本为：1.26"};
    SwitchOutcome outcome;
    outcome.recordWritten = true;
    CHECK(Utf8(ConfirmationText(variant, outcome).Str()) == Utf8(variant.confirmation));
    outcome.keptOriginals = {L"game.dll"};
    outcome.unkeptOriginals = {L"Storm.dll"};
    outcome.recordWritten = false;
    std::wstring text = ConfirmationText(variant, outcome).Str();
    CHECK(text.find(L"“版本转换备份”文件夹：\n    game.dll\n") != std::wstring::npos);
    CHECK(text.find(L"下次启动时会再次移动：\n    Storm.dll\n") != std::wstring::npos);
    CHECK(text.find(L"wargame.ini 无法写入") != std::wstring::npos);
}
