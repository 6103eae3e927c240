#pragma once
#include "framework/CString.h"

// The version label for a game.dll file-version text ("1, 24, 4, 6387" gives "当前版本:1.24E").
CString VersionLabelFromFileVersion(CString versionText);

// Reads game.dll's FileVersion (first translation only) and returns its label; empty on any failure.
CString DetectInstalledVersion(CString path);

// The text before the last backslash; empty when there is none.
CString GetDirectoryOfPath(CString path);
