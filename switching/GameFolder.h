#pragma once
#include "framework/CString.h"
#include <string>

// The game folder, and the one place that makes paths in it: every one absolute under the
// folder and in the long form where its length needs it, so that nothing the launcher touches
// is resolved against the current directory or cut at MAX_PATH.
class GameFolder {
public:
    explicit GameFolder(const CString& dir) : m_dir(dir) {}

    const CString& Dir() const { return m_dir; }
    // A name relative to the folder, for the file functions.
    std::wstring Path(const std::wstring& relative) const;
    // The same as the user and the shell read it, never in the long form.
    CString Shown(const std::wstring& relative) const;
    // The folder with its backslash, as working-directory and volume functions take it: a bare
    // drive ("C:") would mean that drive's current folder.
    CString Root() const { return Shown(std::wstring()); }
    bool Exists(const std::wstring& relative) const;
    // Free bytes on the folder's volume; false when the system cannot say.
    bool FreeSpace(unsigned long long* bytes) const;

private:
    CString m_dir;
};
