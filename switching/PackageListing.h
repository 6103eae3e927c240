#pragma once
#include "framework/CString.h"
#include <windows.h>
#include <vector>

struct PackageEntry {
    CString name;
    unsigned long long uncompressedSize = 0;
    bool folder = false;
    DWORD crc = 0;
    FILETIME modified{};
    FILETIME created{};   // as extraction gives the file, from the entry's extended times where it has them
    FILETIME accessed{};
};

// Reads the names (as extraction will write them, empty when refused), sizes, checksums, times
// and kinds of the entries of a ZIP archive held in memory, without writing anything; false when
// it is no readable archive or an entry of it cannot be read.
bool ListPackageEntries(const void* data, size_t size, std::vector<PackageEntry>& entries);

// The key under which entry and file names compare: without regard to letter case, as Windows does.
CString NameKey(const CString& name);

// The size and last-write time of a file (not a folder); false when there is none.
bool ReadFileStamp(const std::wstring& path, unsigned long long* size, FILETIME* modified);

// Gives the file the entry's times, as extraction leaves them; false when it cannot.
bool GiveEntryTimes(const std::wstring& path, const PackageEntry& entry);

class FileStamps;
// Whether the file holds exactly size bytes with this CRC-32: by its stamp where stamps vouch for
// it, else read. Size first: most damage (a file cut short, zero-filled by a power cut, replaced)
// shows there without reading.
bool FileHoldsData(const std::wstring& path, unsigned long long size, DWORD crc, FileStamps* stamps = nullptr);

class OriginalSums;
// Whether the file at path holds exactly the data of one of the entries: the same size and CRC-32.
// Size and time alone would take a file patched in place, whose time was put back, for the entry.
// sums: where the file's CRC may have been taken already.
bool MatchesPackageEntry(const std::wstring& path, const std::vector<PackageEntry>& known, DWORD* crc = nullptr,
                         OriginalSums* sums = nullptr);
