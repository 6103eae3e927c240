#pragma once
#include "framework/CString.h"

// The launcher's one persistent value: "BanBen" of section "GameMain" in the game
// directory's wargame.ini.

// The stored label, at most 259 characters; empty when the file, section or key is missing.
// A file in another encoding is read as what it is: UTF-8 when valid, else the ANSI code page.
CString ReadStoredVersion(const CString& gameDir);

// Stores the label, keeping the file's other sections and keys, as UTF-16 so that Chinese labels
// survive any system code page. The file is replaced in one step, so that an interrupted write
// never leaves it empty. False when it could not be written.
bool WriteStoredVersion(const CString& gameDir, const CString& label);
