#include "framework/CNoTrackObject.h"
#include "framework/CException.h"
#include <windows.h>

void* CNoTrackObject::operator new(std::size_t size)
{
    void* block = LocalAlloc(LPTR, size);
    if (!block) AfxThrowMemoryException();
    return block;
}

void CNoTrackObject::operator delete(void* block) noexcept
{
    if (block) LocalFree(block);
}
