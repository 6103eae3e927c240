#include "switching/VersionSwitch.h"
#include "framework/CFile.h"
#include "framework/CWaitCursor.h"
#include "framework/CWinApp.h"
#include "switching/PackageListing.h"
#include "switching/SwitchPreflight.h"
#include "zip/ZipArchive.h"
#include <string>

namespace {

const wchar_t kErrorCaption[] = L"版本转换失败";
const wchar_t kUnchanged[] = L"版本显示和记录保持不变。";

CString NameList(const std::vector<CString>& names)
{
    CString list;
    for (const CString& name : names) list += CString(L"    ") + name + L"\n";
    return list;
}

CString CauseText(BlockedFile::Reason reason)
{
    switch (reason) {
    case BlockedFile::InUse:
        return L"这些文件正在被其他程序使用，可能是游戏正在运行。请先退出游戏，然后重试。";
    case BlockedFile::ProtectedAttributes:
        return L"这些文件带有只读、隐藏或系统属性。请取消这些属性，然后重试。";
    case BlockedFile::NoAccess:
        return L"没有写入游戏目录的权限。请以管理员身份运行本程序，然后重试。";
    default:
        return L"无法以写入方式打开这些文件。请检查后重试。";
    }
}

CString Megabytes(unsigned long long bytes)
{
    return CString(std::to_wstring((bytes + 1024 * 1024 - 1) / (1024 * 1024)));
}

} // namespace

bool FindVersionPackage(unsigned int resourceId, const void** data, unsigned long* size)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), L"zip");
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return false;
    *data = bytes;
    *size = SizeofResource(instance, found);
    return true;
}

ExtractResult VersionSwitch::ExtractVersionPackage(unsigned int resourceId)
{
    ExtractResult result;
    const void* data = nullptr;
    unsigned long size = 0;
    if (!FindVersionPackage(resourceId, &data, &size)) {
        m_owner.MessageBox(L"无法获取相关资源!", nullptr, 0);
        result.missing = true;
        return result;
    }

    CString archivePath = m_gameDir + L"\\war_temp.zip";
    CFile archiveFile(archivePath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
    archiveFile.Write(data, size);
    archiveFile.Close();

    ZipHandle archive = ZipOpen(archivePath);
    ZipSetBaseDir(archive, m_gameDir);
    ZipEntryInfo entry{};
    // Cleared before each request, so an entry that can't be read arrives with no name and writes nothing.
    auto clear = [&entry] {
        entry.nIndex = 0;
        entry.szName[0] = 0;
        entry.nUncompressedSize = 0;
    };
    ZipGetEntry(archive, -1, &entry);
    const int count = entry.nIndex;
    result.unreadable = archive == nullptr;
    for (int index = 0; index < count; ++index) {
        clear();
        ZipGetEntry(archive, index, &entry);
        if (ZipExtractEntry(archive, index, entry.szName) != ZIPRES_OK) {
            CString name(entry.szName);
            result.failedEntries.push_back(name.IsEmpty() ? CString(L"#") + std::to_wstring(index + 1).c_str() : name);
        }
    }
    ZipClose(archive);
    CFile::Remove(archivePath);
    return result;
}

bool VersionSwitch::Run(const VersionVariant& variant)
{
    std::vector<PackageEntry> targets;
    unsigned long long needed = 0;
    unsigned long largestArchive = 0;
    for (unsigned int id : variant.packages) {
        const void* data = nullptr;
        unsigned long size = 0;
        if (id == 0 || !FindVersionPackage(id, &data, &size)) continue;
        std::vector<PackageEntry> entries;
        ListPackageEntries(data, size, entries);
        for (const PackageEntry& e : entries) needed += e.uncompressedSize;
        targets.insert(targets.end(), entries.begin(), entries.end());
        if (size > largestArchive) largestArchive = size;
    }

    std::vector<BlockedFile> blocked = SwitchPreflight::CheckTargets(m_gameDir, targets);
    if (!blocked.empty()) {
        std::vector<CString> names;
        for (const BlockedFile& b : blocked) names.push_back(b.name);
        ShowError(CString(L"无法转换版本，以下文件不能替换：\n\n") + NameList(names) + L"\n" + CauseText(blocked[0].reason) +
                  L"\n\n未写入任何文件，" + kUnchanged);
        return false;
    }
    unsigned long long available = 0;
    needed += largestArchive;  // the temporary archive sits beside the files while they are written
    if (!SwitchPreflight::HasRoom(m_gameDir, needed, &available)) {
        ShowError(CString(L"游戏目录所在的磁盘空间不足，无法转换版本。\n\n需要 ") + Megabytes(needed) + L" MB，可用 " +
                  Megabytes(available) + L" MB。\n\n未写入任何文件，" + kUnchanged);
        return false;
    }

    CWaitCursor wait;
    std::vector<CString> failed;
    bool unreadable = false;
    for (unsigned int id : variant.packages) {
        if (id == 0) continue;
        ExtractResult result = ExtractVersionPackage(id);
        failed.insert(failed.end(), result.failedEntries.begin(), result.failedEntries.end());
        unreadable = unreadable || result.unreadable;
    }
    if (failed.empty() && !unreadable) return true;
    CString text = failed.empty() ? CString(L"版本转换未完成：版本数据包无法读取，没有文件被替换。\n\n")
                                  : CString(L"版本转换未完成，以下文件未能替换：\n\n") + NameList(failed) + L"\n";
    ShowError(text + L"可能的原因：游戏正在运行；没有写入游戏目录的权限（请以管理员身份运行本程序）；或版本数据包已损坏。\n\n" +
              kUnchanged);
    return false;
}

int VersionSwitch::ShowError(const CString& text) const
{
    return m_owner.MessageBox(text, kErrorCaption, MB_OK | MB_ICONERROR);
}
