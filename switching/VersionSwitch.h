#pragma once
#include "framework/CString.h"
#include "switching/SwitchPreflight.h"
#include "switching/VersionVariant.h"
#include <vector>

// What a switch did, for the dialog to tell. Blocked files, too little room or a damaged
// package stop it before anything is written.
struct SwitchOutcome {
    std::vector<unsigned int> missingPackages;  // not carried by the executable, as extraction reached them
    std::vector<BlockedFile> blockedFiles;
    bool lacksRoom = false;
    unsigned long long needed = 0;
    unsigned long long available = 0;
    bool damaged = false;     // a package could not be read before anything was written
    bool unreadable = false;  // a package's temporary archive could not be opened: nothing of it was extracted
    std::vector<CString> failedEntries;
    bool finished = false;    // false while the switch runs, and after a file error of the temporary archive

    // Whether every file of the variant is in place now.
    bool Complete() const
    {
        return finished && blockedFiles.empty() && !lacksRoom && !damaged && !unreadable && failedEntries.empty();
    }
};

// The package's bytes where they lie; false when it is not carried.
typedef bool (*PackageFinder)(unsigned int resourceId, const void** data, unsigned long* size);
// Looks in the executable's resources.
bool FindVersionPackage(unsigned int resourceId, const void** data, unsigned long* size);

// Puts version packages into effect in the game directory.
class VersionSwitch {
public:
    explicit VersionSwitch(const CString& gameDir, PackageFinder find = FindVersionPackage)
        : m_gameDir(gameDir), m_find(find) {}

    // Extracts one package through the temporary archive, adding what it left undone to the
    // outcome; file errors of that archive leave as CFileException.
    void ExtractVersionPackage(unsigned int resourceId, SwitchOutcome& outcome);

    // The whole extraction of a variant: checks first that every package can be read, that
    // every file can be replaced and that there is room, then extracts. What happened until a
    // file error of the temporary archive is in the outcome when the exception leaves.
    void Run(const VersionVariant& variant, SwitchOutcome& outcome);

private:
    // Lists the packages, checks their targets and the room; false, with the reason in the
    // outcome, when the switch must not start.
    bool Check(const VersionVariant& variant, SwitchOutcome& outcome) const;

    CString m_gameDir;
    PackageFinder m_find;
};
