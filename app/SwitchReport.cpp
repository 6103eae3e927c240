#include "app/SwitchReport.h"
#include <string>

namespace {

const wchar_t kErrorCaption[] = L"版本转换失败";
const wchar_t kUnchanged[] = L"版本显示和记录保持不变。";
const UINT kErrorType = MB_OK | MB_ICONERROR;

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

CString Megabytes(unsigned long long bytes)
{
    return CString(std::to_wstring((bytes + 1024 * 1024 - 1) / (1024 * 1024)));
}

} // namespace

std::vector<SwitchNotice> SwitchNotices(const SwitchOutcome& outcome)
{
    std::vector<SwitchNotice> notices;
    for (size_t i = 0; i < outcome.missingPackages.size(); ++i) notices.push_back({L"无法获取相关资源!", nullptr, 0});
    if (!outcome.finished || outcome.Complete()) return notices;

    CString text;
    if (!outcome.blockedFiles.empty()) {
        text = BlockedText(outcome.blockedFiles) + L"未写入任何文件，" + kUnchanged;
    } else if (outcome.lacksRoom) {
        text = CString(L"游戏目录所在的磁盘空间不足，无法转换版本。\n\n需要 ") + Megabytes(outcome.needed) + L" MB，可用 " +
               Megabytes(outcome.available) + L" MB。\n\n未写入任何文件，" + kUnchanged;
    } else if (outcome.damaged) {
        text = CString(L"无法转换版本：版本数据包已损坏，无法读取。\n\n未写入任何文件，") + kUnchanged;
    } else {
        text = outcome.failedEntries.empty()
                   ? CString(L"版本转换未完成：版本数据包无法读取，没有文件被替换。\n\n")
                   : CString(L"版本转换未完成，以下文件未能替换：\n\n") + NameList(outcome.failedEntries) + L"\n";
        text += CString(L"可能的原因：游戏正在运行；没有写入游戏目录的权限（请以管理员身份运行本程序）；或版本数据包已损坏。\n\n") +
                kUnchanged;
    }
    notices.push_back({text, kErrorCaption, kErrorType});
    return notices;
}
