#include "switching/VersionSwitch.h"
#include "framework/CFile.h"
#include "framework/CWaitCursor.h"
#include "framework/CWinApp.h"
#include "switching/PackageListing.h"
#include "zip/ZipArchive.h"
#include <string>

namespace {

// The temporary archive's file: deleted if an exception leaves before its own removal.
class TemporaryArchive {
public:
    explicit TemporaryArchive(const CString& path) : m_path(path) {}
    ~TemporaryArchive()
    {
        if (!m_path.IsEmpty()) DeleteFileW(m_path);
    }
    TemporaryArchive(const TemporaryArchive&) = delete;
    TemporaryArchive& operator=(const TemporaryArchive&) = delete;

    // The removal whose failure is the caller's to hear, as a file exception.
    void Remove()
    {
        CString path = m_path;
        m_path = CString();
        CFile::Remove(path);
    }

private:
    CString m_path;
};

} // namespace

bool FindVersionPackage(unsigned int resourceId, const void** data, unsigned long* size)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), L"zip");
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return false;
    *data = bytes;
    *size = SizeofResource(instance, found);
    return true;
}

void VersionSwitch::ExtractVersionPackage(unsigned int resourceId, SwitchOutcome& outcome)
{
    const void* data = nullptr;
    unsigned long size = 0;
    if (!m_find(resourceId, &data, &size)) {
        outcome.missingPackages.push_back(resourceId);
        return;
    }

    CString archivePath = m_gameDir + L"\\war_temp.zip";
    CFile archiveFile(archivePath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
    archiveFile.Write(data, size);
    archiveFile.Close();

    // Declared first, so that the archive is closed before its file goes.
    TemporaryArchive temporary(archivePath);
    ZipArchiveOwner archive(ZipOpen(archivePath));
    ZipSetBaseDir(archive.get(), m_gameDir);
    ZipEntryInfo entry{};
    // Cleared before each request, so an entry that can't be read arrives with no name and writes nothing.
    auto clear = [&entry] {
        entry.nIndex = 0;
        entry.szName[0] = 0;
        entry.nUncompressedSize = 0;
    };
    ZipGetEntry(archive.get(), -1, &entry);
    const int count = entry.nIndex;
    outcome.unreadable = outcome.unreadable || !archive;
    for (int index = 0; index < count; ++index) {
        clear();
        ZipGetEntry(archive.get(), index, &entry);
        if (ZipExtractEntry(archive.get(), index, entry.szName) != ZIPRES_OK) {
            CString name(entry.szName);
            outcome.failedEntries.push_back(name.IsEmpty() ? CString(L"#") + std::to_wstring(index + 1).c_str() : name);
        }
    }
    archive.reset();
    temporary.Remove();
}

void VersionSwitch::Run(const VersionVariant& variant, SwitchOutcome& outcome)
{
    outcome = SwitchOutcome();
    if (Check(variant, outcome)) {
        CWaitCursor wait;
        for (unsigned int id : variant.packages)
            if (id != 0) ExtractVersionPackage(id, outcome);
    }
    outcome.finished = true;
}

bool VersionSwitch::Check(const VersionVariant& variant, SwitchOutcome& outcome) const
{
    std::vector<PackageEntry> targets;
    unsigned long largestArchive = 0;
    for (unsigned int id : variant.packages) {
        const void* data = nullptr;
        unsigned long size = 0;
        if (id == 0 || !m_find(id, &data, &size)) continue;
        std::vector<PackageEntry> entries;
        if (!ListPackageEntries(data, size, entries)) {
            outcome.damaged = true;
            return false;
        }
        for (const PackageEntry& e : entries) outcome.needed += e.uncompressedSize;
        targets.insert(targets.end(), entries.begin(), entries.end());
        if (size > largestArchive) largestArchive = size;
    }

    outcome.blockedFiles = SwitchPreflight::CheckTargets(m_gameDir, targets);
    if (!outcome.blockedFiles.empty()) return false;
    outcome.needed += largestArchive;  // the temporary archive sits beside the files while they are written
    outcome.lacksRoom = !SwitchPreflight::HasRoom(m_gameDir, outcome.needed, &outcome.available);
    return !outcome.lacksRoom;
}
