#include "zip/ZipFileView.h"
#include "framework/CHandle.h"
#include <cstdint>

ZipFileView::~ZipFileView()
{
    if (m_view) UnmapViewOfFile(m_view);
}

const unsigned char* ZipFileView::Map(HANDLE file, unsigned long long offset, size_t size)
{
    LARGE_INTEGER length;
    if (m_view || size == 0 || !GetFileSizeEx(file, &length)) return nullptr;
    unsigned long long end = static_cast<unsigned long long>(length.QuadPart);
    if (offset > end || size > end - offset) return nullptr;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    unsigned long long start = offset - offset % system.dwAllocationGranularity;
    size_t lead = static_cast<size_t>(offset - start);
    if (size > SIZE_MAX - lead) return nullptr;
    // The section may be closed at once: the view keeps it alive.
    CHandle section(CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!section) return nullptr;
    m_view = MapViewOfFile(section, FILE_MAP_READ, static_cast<DWORD>(start >> 32), static_cast<DWORD>(start), lead + size);
    return m_view ? static_cast<const unsigned char*>(m_view) + lead : nullptr;
}
