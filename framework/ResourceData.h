#pragma once
#include <windows.h>

// The bytes of a module's resource, mapped for as long as the module stays loaded; null, with a
// size of 0, when the module has no such resource.
const void* LoadResourceData(HMODULE module, const wchar_t* name, const wchar_t* type, unsigned long* size);
