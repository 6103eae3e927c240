#pragma once
#include <windows.h>
#include <ioapi.h>

// The unzip library's file functions over a Win32 file handle opened by the caller and passed
// as the library's "path"; the library closes the handle with the archive, or when opening fails.
void FillZipFileFunctions(zlib_filefunc64_def& functions);

// The same functions over a ZipMemory (ZipArchive.h) passed as the library's "path".
void FillZipMemoryFunctions(zlib_filefunc64_def& functions);
