#pragma once
#include "switching/GameFolder.h"
#include <windows.h>
#include <map>
#include <string>

// What the launcher knows of the files it placed in the game folder or kept: each one's size,
// creation, write and change times, with the CRC it checked the file to hold. While all of these
// are unchanged the file still holds that CRC: the change time moves with every write and every
// rename, and no program can put it back through the times it sets, so a file patched in place
// with its write time put back, or another file renamed over it, no longer matches.
// A change within the same tick of the file system's clock as the recording would keep the change
// time; files are recorded right after the launcher's own rename or times, under its lock.
// The record is a hint kept beside the kept versions: a lost or damaged one only costs reads.
class FileStamps {
public:
    static const wchar_t kFile[];

    explicit FileStamps(const GameFolder& folder) : m_folder(folder) {}

    // The size and CRC recorded for the file at path (a full path), when the file is still the
    // one recorded; false otherwise, and then its contents must be read.
    bool Holds(const std::wstring& path, unsigned long long* size, DWORD* crc);
    // Whether the file is known to hold exactly size bytes with this CRC without reading it.
    bool HoldsData(const std::wstring& path, unsigned long long size, DWORD crc);
    // Records that the file at path, as it is now, holds crc.
    void Record(const std::wstring& path, DWORD crc);
    // Writes what was recorded; nothing when nothing was.
    void Save();

private:
    struct Stamp {
        unsigned long long size = 0;
        unsigned long long created = 0;
        unsigned long long written = 0;
        unsigned long long changed = 0;
        DWORD crc = 0;
    };
    static bool Read(const std::wstring& path, Stamp& stamp);
    void Load();

    GameFolder m_folder;
    std::map<std::wstring, Stamp> m_stamps;
    bool m_loaded = false;
    bool m_changed = false;
};
