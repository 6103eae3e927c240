#include "framework/ResourceData.h"

const void* LoadResourceData(HMODULE module, const wchar_t* name, const wchar_t* type, unsigned long* size)
{
    HRSRC found = FindResourceW(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    *size = data ? SizeofResource(module, found) : 0;
    return data;
}

bool ResourceFileRange(const void* data, unsigned long long size, wchar_t (&path)[MAX_PATH], unsigned long long* offset)
{
    MEMORY_BASIC_INFORMATION region{};
    if (!data || !VirtualQuery(data, &region, sizeof region) || region.Type != MEM_IMAGE || !region.AllocationBase)
        return false;
    auto* base = static_cast<const unsigned char*>(region.AllocationBase);
    // The loader checked these headers before it mapped them.
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const unsigned long long rva = static_cast<unsigned long long>(static_cast<const unsigned char*>(data) - base);
    // Resources are never written, whatever their section's flags say (the GNU linker marks it writable).
    const IMAGE_DATA_DIRECTORY& resources = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
    if (rva < resources.VirtualAddress || rva - resources.VirtualAddress > resources.Size ||
        size > resources.Size - (rva - resources.VirtualAddress))
        return false;
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (rva < section->VirtualAddress || rva - section->VirtualAddress >= section->SizeOfRawData) continue;
        unsigned long long within = rva - section->VirtualAddress;
        if (size > section->SizeOfRawData - within) return false;
        DWORD length = GetModuleFileNameW(static_cast<HMODULE>(region.AllocationBase), path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return false;
        *offset = section->PointerToRawData + within;
        return true;
    }
    return false;
}
