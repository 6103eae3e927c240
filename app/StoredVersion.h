#pragma once
#include "framework/CString.h"

// The launcher's one persistent value: "BanBen" of section "GameMain" in the game
// directory's wargame.ini.

// The stored label, at most 259 characters; empty when the file, section or key is missing.
CString ReadStoredVersion(const CString& gameDir);

// Stores the label; a file that does not exist yet is created as UTF-16 first. Failures
// (read-only file or folder) go unnoticed, as the label itself does not depend on them.
void WriteStoredVersion(const CString& gameDir, const CString& label);
