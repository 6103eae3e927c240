#pragma once

// Whether an existing file may be replaced by extraction, and if not, why.
enum class ZipTargetState { Absent, Replaceable, Protected, InUse, NoAccess, Other };

// Read-only, hidden and system files are Protected, checked by attribute because an
// administrator may open read-only files for writing; a file another process holds open is
// InUse; a folder in the file's place is Other. The file is opened for writing without
// truncating it, and closed again.
ZipTargetState CheckZipTarget(const wchar_t* path);
