#pragma once
#include <windows.h>
#include <string>

// Writes made to survive a power cut, not only a kill: NTFS orders its metadata (renames,
// deletions) but not file data, so data is flushed before any rename makes something depend on it.

// Writes the bytes beside the path under the temporary name, flushes them and renames them over
// the path. An interrupted write leaves the old file, never a short one. 0, or the error code.
DWORD WriteFileDurably(const std::wstring& path, const std::wstring& temporary, const std::string& bytes);

// Puts a file's written data on the disk. 0, or the error code.
DWORD FlushFileToDisk(const std::wstring& path);
