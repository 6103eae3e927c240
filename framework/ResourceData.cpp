#include "framework/ResourceData.h"

const void* LoadResourceData(HMODULE module, const wchar_t* name, const wchar_t* type, unsigned long* size)
{
    HRSRC found = FindResourceW(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    *size = data ? SizeofResource(module, found) : 0;
    return data;
}
