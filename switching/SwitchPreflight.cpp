#include "switching/SwitchPreflight.h"
#include <windows.h>

namespace {

CString Upper(const CString& text)
{
    std::wstring copy = text.Str();
    if (!copy.empty()) CharUpperBuffW(&copy[0], static_cast<DWORD>(copy.size()));
    return CString(std::move(copy));
}

// Only plain names are checked here; anything else is the reader's to refuse.
bool IsPlainName(const CString& name)
{
    return !name.IsEmpty() && name.Find(L"\\") < 0 && name.Find(L"/") < 0 && name.Find(L":") < 0 &&
           name != CString(L".") && name != CString(L"..");
}

} // namespace

std::vector<BlockedFile> SwitchPreflight::CheckTargets(const CString& gameDir, const std::vector<PackageEntry>& entries)
{
    std::vector<BlockedFile> blocked;
    std::vector<CString> seen;
    for (const PackageEntry& entry : entries) {
        if (!IsPlainName(entry.name)) continue;
        CString key = Upper(entry.name);
        bool repeated = false;
        for (const CString& s : seen) repeated = repeated || s == key;
        if (repeated) continue;
        seen.push_back(key);

        CString path = gameDir + L"\\" + entry.name;
        DWORD attributes = GetFileAttributesW(path);
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;  // a new file: nothing to replace
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY)) {
            blocked.push_back({entry.name, BlockedFile::ProtectedAttributes});
            continue;
        }
        // Opened the way extraction will open it, but without truncating anything.
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            continue;
        }
        DWORD error = GetLastError();
        BlockedFile::Reason reason = BlockedFile::Other;
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) reason = BlockedFile::InUse;
        else if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) reason = BlockedFile::NoAccess;
        blocked.push_back({entry.name, reason});
    }
    return blocked;
}

bool SwitchPreflight::HasRoom(const CString& gameDir, unsigned long long needed, unsigned long long* available)
{
    ULARGE_INTEGER free{};
    CString root = gameDir + L"\\";
    if (!GetDiskFreeSpaceExW(root, &free, nullptr, nullptr)) {
        if (available) *available = 0;
        return true;
    }
    if (available) *available = free.QuadPart;
    return free.QuadPart >= needed;
}
