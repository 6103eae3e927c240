#include "switching/SwitchPreflight.h"
#include "zip/ZipTargetCheck.h"
#include <windows.h>

namespace {

CString Upper(const CString& text)
{
    std::wstring copy = text.Str();
    if (!copy.empty()) CharUpperBuffW(&copy[0], static_cast<DWORD>(copy.size()));
    return CString(std::move(copy));
}

} // namespace

std::vector<BlockedFile> SwitchPreflight::CheckTargets(const CString& gameDir, const std::vector<PackageEntry>& entries)
{
    std::vector<BlockedFile> blocked;
    std::vector<CString> seen;
    for (const PackageEntry& entry : entries) {
        // Names the reader refuses come out empty: they write nothing, so block nothing.
        if (entry.name.IsEmpty()) continue;
        CString key = Upper(entry.name);
        bool repeated = false;
        for (const CString& s : seen) repeated = repeated || s == key;
        if (repeated) continue;
        seen.push_back(key);

        switch (CheckZipTarget(gameDir + L"\\" + entry.name)) {
        case ZipTargetState::Absent: case ZipTargetState::Replaceable: break;
        case ZipTargetState::Protected: blocked.push_back({entry.name, BlockedFile::ProtectedAttributes}); break;
        case ZipTargetState::InUse: blocked.push_back({entry.name, BlockedFile::InUse}); break;
        case ZipTargetState::NoAccess: blocked.push_back({entry.name, BlockedFile::NoAccess}); break;
        case ZipTargetState::Other: blocked.push_back({entry.name, BlockedFile::Other}); break;
        }
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
