#pragma once
#include <windows.h>

// The CRC-32 of a whole file, as the archive format computes it for an entry's data; false
// when the file cannot be read to its end.
bool ZipFileCrc32(const wchar_t* path, DWORD* crc, unsigned long long* size);
