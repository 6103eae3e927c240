#pragma once
#include "framework/CString.h"
#include "switching/PackageListing.h"
#include "zip/ZipTargetCheck.h"
#include <vector>

// A game file that a switch could not replace, and why.
struct BlockedFile {
    CString name;
    ZipTargetState reason;
};

// Checks, before anything is written, whether a switch can replace every file it would.
class SwitchPreflight {
public:
    // The existing files of the game directory that the entries would replace but cannot be
    // opened for writing: read-only, hidden or system, held open elsewhere, or not writable.
    // Each name is listed once, however many packages carry it.
    static std::vector<BlockedFile> CheckTargets(const CString& gameDir, const std::vector<PackageEntry>& entries);

    // Whether the game directory's volume has the given number of free bytes; where the free
    // space can't be read, assumed so, since the write itself will then tell.
    static bool HasRoom(const CString& gameDir, unsigned long long needed, unsigned long long* available);
};
