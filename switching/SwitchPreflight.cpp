#include "switching/SwitchPreflight.h"
#include "switching/GameFolder.h"
#include <windows.h>

std::vector<BlockedFile> SwitchPreflight::CheckTargets(const CString& gameDir, const std::vector<PackageEntry>& entries)
{
    std::vector<BlockedFile> blocked;
    std::vector<CString> seen;
    for (const PackageEntry& entry : entries) {
        // Names the reader refuses come out empty: they write nothing, so block nothing; nor do
        // folder entries, which keep a folder that exists.
        if (entry.name.IsEmpty() || entry.folder) continue;
        CString key = NameKey(entry.name);
        bool repeated = false;
        for (const CString& s : seen) repeated = repeated || s == key;
        if (repeated) continue;
        seen.push_back(key);

        ZipTargetState state = CheckZipTarget(GameFolder(gameDir).Path(entry.name.Str()).c_str());
        if (state != ZipTargetState::Absent && state != ZipTargetState::Replaceable) blocked.push_back({entry.name, state});
    }
    return blocked;
}

bool SwitchPreflight::HasRoom(const CString& gameDir, unsigned long long needed, unsigned long long* available)
{
    unsigned long long free = 0;
    if (!GameFolder(gameDir).FreeSpace(&free)) {
        if (available) *available = 0;
        return true;
    }
    if (available) *available = free;
    return free >= needed;
}
