#include "zip/ZipTargetCheck.h"
#include "framework/CHandle.h"

ZipTargetState CheckZipTarget(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return ZipTargetState::Absent;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ZipTargetState::Other;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        return ZipTargetState::Protected;
    if (CHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr))) return ZipTargetState::Replaceable;
    switch (GetLastError()) {
    case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: return ZipTargetState::InUse;
    case ERROR_ACCESS_DENIED: case ERROR_WRITE_PROTECT: return ZipTargetState::NoAccess;
    default: return ZipTargetState::Other;
    }
}
