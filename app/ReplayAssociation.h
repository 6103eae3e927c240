#pragma once
#include "framework/CString.h"

// The current user's association of replay files (.w3g, .nwg) with the launcher. The class that
// held an extension before is kept in the launcher's own class key and given back on removal.
// Nothing here needs an administrator: it all lies under HKEY_CURRENT_USER.
class ReplayAssociation {
public:
    // launcherPath: the launcher's full path, which the shell will start with the replay's path.
    // classesKey: where under HKEY_CURRENT_USER the file classes live; the shell's own by default.
    explicit ReplayAssociation(const CString& launcherPath, const CString& classesKey = L"Software\\Classes");

    // Points both extensions at the launcher; false when any part could not be written.
    bool Associate();
    // Gives the extensions that still point at the launcher back to their earlier class, and
    // removes the launcher's class; others' classes are left alone. False when any part failed.
    bool Unassociate();
    // Whether both extensions open replays with this launcher.
    bool IsAssociated() const;

    static const wchar_t kClassName[];

private:
    CString OpenCommand() const;

    CString m_launcher;
    CString m_classes;
};
