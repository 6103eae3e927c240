#pragma once
#include "framework/CString.h"
#include "framework/CWnd.h"
#include "switching/VersionVariant.h"
#include <vector>

// What one package's extraction left undone.
struct ExtractResult {
    std::vector<CString> failedEntries;
    bool unreadable = false;  // the archive could not be opened: nothing was extracted
    bool missing = false;     // the executable does not carry the package
};

// Puts version packages into effect in the game directory, on behalf of the dialog that owns
// the message boxes.
class VersionSwitch {
public:
    VersionSwitch(CWnd& owner, const CString& gameDir) : m_owner(owner), m_gameDir(gameDir) {}

    // Extracts one package through the temporary archive; file errors of that archive leave
    // as CFileException.
    ExtractResult ExtractVersionPackage(unsigned int resourceId);

    // The whole extraction of a variant: checks first that every file can be replaced and
    // that there is room, then extracts; false (after telling the user why) when the
    // version did not fully change.
    bool Run(const VersionVariant& variant);

private:
    int ShowError(const CString& text) const;

    CWnd& m_owner;
    CString m_gameDir;
};

// The package's bytes where they lie in the loaded image; false when it is not carried.
bool FindVersionPackage(unsigned int resourceId, const void** data, unsigned long* size);
