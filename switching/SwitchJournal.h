#pragma once
#include "framework/CString.h"
#include <windows.h>
#include <string>
#include <vector>

// One file of a switch: staged as "<slot>.new"; the file it replaces is moved aside as "<slot>.old".
struct JournalEntry {
    unsigned int slot = 0;
    CString target;  // relative to the game folder, in the letter case it has on disk
    unsigned long long size = 0;
    DWORD crc = 0;
    bool hadOriginal = false;
    bool keepOriginal = false;  // the original matches no package: kept in the backup folder
};

// What reading a journal found. A journal that is there but cannot be trusted is never taken
// for none: the files it names may be the player's only copies.
enum class JournalState {
    Absent,      // no journal file
    Read,        // whole, its checksum agrees
    Unreadable,  // present, but held by another program, damaged, too long, or of another build
};

// What a switch is about to commit. Its file exists whole or not at all: it is written beside,
// flushed, and renamed into place, and its existence means the commit has begun.
class SwitchJournal {
public:
    CString label;
    std::vector<JournalEntry> entries;

    // 0, or the system's error code of the write that failed.
    DWORD Write(const std::wstring& path) const;
    JournalState Read(const std::wstring& path);
};
