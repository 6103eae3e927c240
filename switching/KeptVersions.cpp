#include "switching/KeptVersions.h"
#include "framework/CFileFind.h"
#include "framework/LongPath.h"
#include <string>

const wchar_t KeptVersions::kFolder[] = L"~kelvadi-versions";

KeptVersions::KeptVersions(const GameFolder& folder, unsigned long long limit, unsigned long long reserve,
                           FileStamps* stamps)
    : m_folder(folder), m_limit(limit), m_reserve(reserve), m_stamps(stamps)
{
}

std::wstring KeptVersions::PathOf(unsigned long long size, DWORD crc) const
{
    wchar_t crcText[12];
    wsprintfW(crcText, L"%08lx", crc);
    return m_folder.Path(std::wstring(kFolder) + L"\\" + crcText + L"-" + std::to_wstring(size));
}

unsigned long long KeptVersions::Used()
{
    if (m_counted) return m_used;
    m_counted = true;
    CFileFind finder;
    for (bool more = finder.FindFile(m_folder.Path(std::wstring(kFolder) + L"\\*").c_str()); more;) {
        more = finder.FindNextFile();
        unsigned long long size = 0;
        if (!finder.IsDirectory() && ReadFileStamp(finder.GetFilePath().Str(), &size, nullptr)) m_used += size;
    }
    return m_used;
}

bool KeptVersions::Keep(const std::wstring& path, DWORD crc)
{
    unsigned long long size = 0;
    if (!ReadFileStamp(path, &size, nullptr)) return false;
    std::wstring kept = PathOf(size, crc);
    // Keeping renames within the volume: the free space read once holds for every file.
    if (!m_freeKnown) m_freeKnown = m_folder.FreeSpace(&m_free);
    if (PathExists(kept) || Used() + size > m_limit || !m_freeKnown || m_free < m_reserve) return false;
    std::wstring folder = m_folder.Path(kFolder);
    if (CreateDirectoryW(folder.c_str(), nullptr)) SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!MoveFileExW(path.c_str(), kept.c_str(), 0)) return false;
    if (m_stamps) m_stamps->Record(kept, crc);
    m_used += size;
    return true;
}

bool KeptVersions::Take(const PackageEntry& entry, const std::wstring& target)
{
    std::wstring kept = PathOf(entry.uncompressedSize, entry.crc);
    if (!PathExists(kept)) return false;
    // A kept file that another program changed, in place or with its time put back, is no copy of the entry.
    if (!FileHoldsData(kept, entry.uncompressedSize, entry.crc, m_stamps)) {
        DeleteFileW(kept.c_str());
        return false;
    }
    if (!MoveFileExW(kept.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    // As extraction leaves it: the entry's times, which tell the variant's files at the next start.
    GiveEntryTimes(target, entry);
    m_used -= m_counted ? entry.uncompressedSize : 0;
    return true;
}
