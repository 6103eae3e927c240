#pragma once
#include <windows.h>

// The bytes of a module's resource, mapped for as long as the module stays loaded; null, with a
// size of 0, when the module has no such resource.
const void* LoadResourceData(HMODULE module, const wchar_t* name, const wchar_t* type, unsigned long* size);

// Where bytes of a loaded module's resources lie in the module's file: its path and their offset in
// it. False for memory that is not within a module's resources, as its file holds them.
bool ResourceFileRange(const void* data, unsigned long long size, wchar_t (&path)[MAX_PATH], unsigned long long* offset);
