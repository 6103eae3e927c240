#include "switching/PackageListing.h"
#include "zip/ZipArchive.h"

bool ListPackageEntries(const void* data, size_t size, std::vector<PackageEntry>& entries)
{
    entries.clear();
    ZipArchiveOwner archive(ZipOpenMemory(data, size));
    ZipEntryInfo entry{};
    if (!archive || ZipGetEntry(archive.get(), -1, &entry) != ZIPRES_OK) return false;
    const int count = entry.nIndex;
    for (int index = 0; index < count; ++index) {
        if (ZipGetEntry(archive.get(), index, &entry) != ZIPRES_OK) return false;
        entries.push_back({entry.szName, entry.nUncompressedSize, (entry.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    }
    return true;
}
