#include "app/SwitchReport.h"
#include "switching/ReplayVersion.h"
#include <cwchar>
#include <string>

namespace {

const wchar_t kErrorCaption[] = L"版本转换失败";
const wchar_t kUnchanged[] = L"版本显示和记录保持不变。";
const UINT kErrorType = MB_OK | MB_ICONERROR;

CString PathList(const std::vector<std::wstring>& paths)
{
    CString list;
    for (const std::wstring& path : paths) list += CString(L"    ") + path.c_str() + L"\n";
    return list;
}

CString NameList(const std::vector<CString>& names)
{
    CString list;
    for (const CString& name : names) list += CString(L"    ") + name + L"\n";
    return list;
}

CString CauseText(ZipTargetState reason)
{
    switch (reason) {
    case ZipTargetState::InUse:
        return L"这些文件正在被其他程序使用，可能是游戏正在运行。请先退出游戏，然后重试。";
    case ZipTargetState::Protected:
        return L"这些文件带有只读、隐藏或系统属性。请取消这些属性，然后重试。";
    case ZipTargetState::NoAccess:
        return L"没有写入游戏目录的权限。请以管理员身份运行本程序，然后重试。";
    default:
        return L"无法以写入方式打开这些文件。请检查后重试。";
    }
}

// The files grouped by cause, each group followed by what to do about it.
CString BlockedText(const std::vector<BlockedFile>& blocked)
{
    std::vector<ZipTargetState> causes;
    for (const BlockedFile& b : blocked) {
        bool known = false;
        for (ZipTargetState cause : causes) known = known || cause == b.reason;
        if (!known) causes.push_back(b.reason);
    }
    CString text = L"无法转换版本，以下文件不能替换：\n\n";
    for (ZipTargetState cause : causes) {
        std::vector<CString> names;
        for (const BlockedFile& b : blocked)
            if (b.reason == cause) names.push_back(b.name);
        text += NameList(names) + L"\n" + CauseText(cause) + L"\n\n";
    }
    return text;
}

// The system's own words for an error code, else the code.
CString SystemMessage(DWORD error)
{
    CString reason;
    wchar_t* message = nullptr;
    if (error > 0 && FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr)) {
        reason = CString(message).Trim();
        LocalFree(message);
    }
    return reason.IsEmpty() ? CString(L"错误代码 ") + std::to_wstring(error).c_str() : reason;
}

// Why a write failed, with the two causes a player can act on in plain words.
CString WriteFailure(DWORD error)
{
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) return L"磁盘已满";
    if (error == ERROR_ACCESS_DENIED) return L"没有写入权限";
    return SystemMessage(error);
}

// "1.24E" of "当前版本:1.24E"; any other text as it is.
CString VersionName(const CString& label)
{
    const wchar_t prefix[] = L"当前版本:";
    return label.Find(prefix) == 0 ? label.Mid(static_cast<int>(wcslen(prefix))) : label;
}

CString Megabytes(unsigned long long bytes)
{
    return CString(std::to_wstring((bytes + 1024 * 1024 - 1) / (1024 * 1024)));
}

} // namespace

std::vector<SwitchNotice> SwitchNotices(const SwitchOutcome& outcome)
{
    std::vector<SwitchNotice> notices;
    for (size_t i = 0; i < outcome.missingPackages.size(); ++i) notices.push_back({L"无法获取相关资源!", nullptr, 0});
    if (!outcome.finished) return notices;

    CString text;
    bool mayElevate = false;  // the cause is a lack of rights, which an administrator does not have
    switch (outcome.stop) {
    case SwitchStop::None:
        return notices;
    case SwitchStop::Busy:
        text = CString(L"另一个启动器正在转换此游戏目录的版本。请等它完成后再试。\n\n本次未写入任何文件，") + kUnchanged;
        break;
    case SwitchStop::EarlierPending:
        text = RecoveryText(outcome.earlier) + L"\n\n本次未写入任何文件。";
        break;
    case SwitchStop::MissingPackages:
        text = CString(L"无法转换版本：本程序缺少此版本所需的数据包。\n\n未写入任何文件，") + kUnchanged;
        break;
    case SwitchStop::Stuck:
        text = CString(L"版本转换被中断：文件 ") + outcome.file +
               L" 无法替换，已替换的文件也无法恢复。\n\n请关闭正在使用游戏文件的程序，然后重新启动本程序，它会完成这次版本转换。";
        break;
    case SwitchStop::StagedLost:
        text = CString(L"无法转换版本：已写好的文件 ") + outcome.file +
               L" 在替换之前不见了或被其他程序占用，很可能是杀毒软件所为。请把游戏目录加入杀毒软件的信任列表，然后重试。\n\n游戏文件没有改动，" +
               kUnchanged;
        break;
    case SwitchStop::JournalUnwritten:
        text = CString(L"无法转换版本：无法在游戏目录中写入版本转换日志（") + WriteFailure(outcome.error) +
               L"）。\n\n游戏文件没有改动，" + kUnchanged;
        break;
    case SwitchStop::CommitRefused:
        text = CString(L"无法转换版本：替换文件 ") + outcome.file +
               L" 时被拒绝，它可能刚被其他程序（游戏、杀毒软件）打开。\n\n已替换的文件均已恢复，游戏仍是原来的版本，" + kUnchanged;
        break;
    case SwitchStop::FolderRefused:
        text = CString(L"无法转换版本：无法在游戏目录中写入临时文件。请检查游戏目录的写入权限（或以管理员身份运行本程序）。\n\n游戏文件没有改动，") +
               kUnchanged;
        mayElevate = outcome.error == ERROR_ACCESS_DENIED;
        break;
    case SwitchStop::Blocked:
        text = BlockedText(outcome.blockedFiles) + L"未写入任何文件，" + kUnchanged;
        for (const BlockedFile& b : outcome.blockedFiles) mayElevate = mayElevate || b.reason == ZipTargetState::NoAccess;
        break;
    case SwitchStop::LacksRoom:
        text = CString(L"游戏目录所在的磁盘空间不足，无法转换版本。\n\n需要 ") + Megabytes(outcome.needed) + L" MB，可用 " +
               Megabytes(outcome.available) + L" MB。\n\n未写入任何文件，" + kUnchanged;
        break;
    case SwitchStop::Damaged:
        text = CString(L"无法转换版本：版本数据包已损坏，无法读取。\n\n未写入任何文件，") + kUnchanged;
        break;
    case SwitchStop::ArchiveUnreadable:
        text = CString(L"无法转换版本：版本数据包无法读取。\n\n游戏文件没有改动，") + kUnchanged;
        break;
    case SwitchStop::EntryFailed:
        text = CString(L"无法转换版本，以下文件未能写入：\n\n") + NameList(outcome.failedEntries) + L"\n" +
               (outcome.diskFull ? L"游戏目录所在的磁盘已满。请释放磁盘空间，然后重试。"
                                 : L"可能的原因：磁盘已满；没有写入游戏目录的权限（请以管理员身份运行本程序）；或版本数据包已损坏。") +
               L"\n\n游戏文件没有改动，" + kUnchanged;
        break;
    }
    if (mayElevate) notices.push_back({text + L"\n\n是否以管理员身份重新启动本程序？", kErrorCaption, MB_YESNO | MB_ICONERROR, true});
    else notices.push_back({text, kErrorCaption, kErrorType});
    return notices;
}

CString ConfirmationText(const VersionVariant& variant, const SwitchOutcome& outcome)
{
    CString text = variant.confirmation;
    if (!outcome.keptOriginals.empty())
        text += CString(L"\n\n以下原有文件不属于任何版本，已保存到游戏目录中的“") + SwitchTransaction::kBackupFolder +
                L"”文件夹：\n" + NameList(outcome.keptOriginals);
    if (!outcome.unkeptOriginals.empty())
        text += CString(L"\n\n以下原有文件暂时无法移入“") + SwitchTransaction::kBackupFolder +
                L"”文件夹，仍保存在游戏目录的“" + SwitchTransaction::kStagingFolder + L"”文件夹中，本程序下次启动时会再次移动：\n" +
                NameList(outcome.unkeptOriginals);
    if (!outcome.recordWritten)
        text += L"\n\n注意：游戏文件已转换，但版本记录 wargame.ini 无法写入（可能是只读文件），下次启动时显示的版本可能不对。";
    return text;
}

const wchar_t kCheckCaption[] = L"版本检查";
const wchar_t kReplayCaption[] = L"播放录像";
const wchar_t kUnfinishedCaption[] = L"版本转换未完成";

CString VanishedText(const std::vector<CString>& names)
{
    return CString(L"版本转换后，以下文件随即不见了或不完整，很可能被杀毒软件删除或隔离：\n\n") + NameList(names) +
           L"\n请在杀毒软件中恢复它们，或把游戏目录加入信任列表，然后再次点击版本按钮。当前版本显示的是游戏文件实际的版本。";
}

CString RepairText(const VersionVariant& recorded, const std::vector<DifferingFile>& differing)
{
    CString version = VersionName(recorded.label);
    CString text = CString(L"游戏文件与记录的版本 ") + version + L" 不一致：\n\n";
    for (const DifferingFile& f : differing) text += CString(L"    ") + f.name + (f.missing ? L"（缺失）\n" : L"（已被改动）\n");
    return text + L"\n点击版本 " + version + L" 的按钮即可重新写入这些文件。";
}

CString VirtualStoreQuestion(const std::vector<std::wstring>& copies)
{
    return CString(L"在 Windows 的 VirtualStore 中发现以下游戏文件的旧副本：\n\n") + PathList(copies) +
           L"\n游戏会加载这些旧副本，而不是游戏目录中的文件。是否删除它们（移到回收站）？";
}

CString VirtualStoreLeftText(const std::vector<std::wstring>& left)
{
    return CString(L"以下旧副本无法删除，请手动删除：\n\n") + PathList(left);
}

CString GameStartFailedText(const CString& path, int error)
{
    if (error == ERROR_DIRECTORY) return CString(L"无法启动游戏：") + path + L" 是一个文件夹，不是游戏程序。";
    return CString(L"无法启动游戏：") + path + L"\n\n" + SystemMessage(static_cast<DWORD>(error));
}

CString RecoveryText(RecoveryResult result)
{
    const CString staging = SwitchTransaction::kStagingFolder;
    const CString nothingLost =
        L"\n\n没有删除任何文件：“" + staging + L"”文件夹中的文件是游戏原有的文件和新版本的文件，请不要删除它们。";
    switch (result) {
    case RecoveryResult::Stuck:
        return L"上一次版本转换还没有完成：它移开的文件仍在游戏目录的“" + staging + L"”文件夹中，暂时无法放回或移走。\n\n"
               L"请关闭正在使用游戏文件的程序（游戏、杀毒软件），然后重新启动本程序，它会先完成上一次转换。" + nothingLost;
    case RecoveryResult::Unreadable:
        return L"上一次版本转换没有完成，但它的日志文件“" + staging + L"\\journal”无法读取：它可能正被其他程序（杀毒软件、备份软件）占用，"
               L"或者已经损坏。为了不丢失文件，本程序没有移动或删除任何文件。\n\n"
               L"请关闭可能占用它的程序，然后重新启动本程序，它会先完成上一次转换。" + nothingLost;
    case RecoveryResult::Refused:
        return CString(L"上一次版本转换没有完成，但本程序没有写入游戏目录的权限，无法完成或撤销它。\n\n请以管理员身份运行本程序。") + nothingLost;
    default:
        return CString();
    }
}

CString ReplayRefusalText(const ReplayHeader& replay, const CString& path)
{
    const CString file = CString(L"\n\n    ") + path;
    switch (replay.reading) {
    case ReplayReading::Ok:
        if (ReplayBaseVariant(replay.version)) return CString();
        return CString(L"这个录像由魔兽争霸 III ") + ReplayVersionText(replay.version) +
               L" 版录制，只能用该版本播放，而本程序没有这个版本。本程序可以播放 1.20、1.24 和 1.26 版的录像。" + file;
    case ReplayReading::Missing:
        return CString(L"无法打开录像文件：它不存在，或者无法读取。") + file;
    case ReplayReading::Empty:
        return CString(L"录像文件是空的。") + file;
    case ReplayReading::NotReplay:
        return CString(L"这不是魔兽争霸 III 的录像文件。") + file;
    case ReplayReading::Truncated:
        return CString(L"录像文件不完整，可能没有下载或复制完。") + file;
    case ReplayReading::Damaged:
        return CString(L"录像文件已损坏。") + file;
    case ReplayReading::ReignOfChaos:
        return CString(L"这是《混乱之治》的录像，而本程序的各个版本都是《冰封王座》，无法播放。") + file;
    }
    return CString(L"无法播放这个录像。") + file;
}

CString UnknownVersionForReplayText(const VersionVariant& replayVersion)
{
    return CString(L"无法识别当前游戏的版本，播放录像后无法恢复成现在的样子，所以没有为录像转换到 ") +
           VersionName(replayVersion.label) + L"。\n\n请先点击一个版本按钮，再打开录像。";
}

CString ReplayTripUnwrittenText(DWORD error)
{
    return CString(L"无法在游戏目录中写入记录（") + WriteFailure(error) + L"），为了播放后能恢复版本，没有转换版本，也没有启动游戏。";
}

CString ReplayNotStartedText(const CString& game, DWORD error, const VersionVariant* back)
{
    CString text = CString(L"无法用录像启动游戏：") + game + L"\n\n" + SystemMessage(error);
    if (back) text += CString(L"\n\n游戏版本已恢复为 ") + VersionName(back->label) + L"。";
    return text;
}

CString ReplayPlayingText(const CString& path, const VersionVariant& playing, const VersionVariant* back)
{
    CString name = path.Mid(path.ReverseFind(L'\\') + 1);
    CString text = CString(L"正在用 ") + VersionName(playing.label) + L" 播放录像 " + name;
    if (back) text += CString(L"，游戏结束后恢复为 ") + VersionName(back->label);
    return text;
}

CString EarlierTripQuestion(const VersionVariant& earlier, const CString& shownLabel)
{
    return CString(L"上次播放录像时，本程序在游戏结束前被关闭，游戏版本没有恢复：现在是 ") + VersionName(shownLabel) +
           L"，播放录像之前是 " + VersionName(earlier.label) + L"。\n\n是否恢复为 " + VersionName(earlier.label) + L"？";
}
