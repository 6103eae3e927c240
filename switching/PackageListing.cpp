#include "switching/PackageListing.h"
#include "switching/FileStamps.h"
#include "switching/OriginalSums.h"
#include "framework/CHandle.h"
#include "framework/LongPath.h"
#include "zip/ZipArchive.h"
#include "zip/ZipFileCrc.h"

bool ListPackageEntries(const void* data, size_t size, std::vector<PackageEntry>& entries)
{
    entries.clear();
    ZipArchiveOwner archive(ZipOpenMemory(data, size));
    ZipEntryInfo entry{};
    if (!archive || ZipGetEntry(archive.get(), -1, &entry) != ZIPRES_OK) return false;
    const int count = entry.nIndex;
    for (int index = 0; index < count; ++index) {
        if (ZipGetEntry(archive.get(), index, &entry) != ZIPRES_OK) return false;
        entries.push_back({entry.szName, entry.nUncompressedSize, (entry.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           entry.dwCrc32, entry.ftModified, entry.ftCreation, entry.ftAccess});
    }
    return true;
}

CString NameKey(const CString& name)
{
    std::wstring copy = name.Str();
    if (!copy.empty()) CharUpperBuffW(&copy[0], static_cast<DWORD>(copy.size()));
    return CString(std::move(copy));
}

bool ReadFileStamp(const std::wstring& path, unsigned long long* size, FILETIME* modified)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    *size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (modified) *modified = data.ftLastWriteTime;
    return true;
}

bool GiveEntryTimes(const std::wstring& path, const PackageEntry& entry)
{
    CHandle file(CreateFileW(LongPathForm(path).c_str(), FILE_WRITE_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    return file && SetFileTime(file, &entry.created, &entry.accessed, &entry.modified);
}

bool FileHoldsData(const std::wstring& path, unsigned long long size, DWORD crc, FileStamps* stamps)
{
    if (stamps && stamps->HoldsData(path, size, crc)) return true;
    unsigned long long found = 0;
    DWORD read = 0;
    return ReadFileStamp(path, &found, nullptr) && found == size && ZipFileCrc32(path.c_str(), &read, &found) &&
           read == crc && found == size;
}

bool MatchesPackageEntry(const std::wstring& path, const std::vector<PackageEntry>& known, DWORD* crc, OriginalSums* sums)
{
    unsigned long long size = 0;
    if (!ReadFileStamp(path, &size, nullptr)) return false;
    bool sizeMatches = false;
    for (const PackageEntry& e : known) sizeMatches = sizeMatches || (!e.folder && e.uncompressedSize == size);
    DWORD read = 0;
    if (!sizeMatches || !(sums ? sums->Crc(path, &read, &size) : ZipFileCrc32(path.c_str(), &read, &size))) return false;
    if (crc) *crc = read;
    for (const PackageEntry& e : known)
        if (!e.folder && e.uncompressedSize == size && e.crc == read) return true;
    return false;
}
