#include "switching/InstalledVersion.h"
#include "switching/GameFolder.h"
#include "switching/StoredVersion.h"
#include "zip/ZipFileCrc.h"

InstalledVersion::InstalledVersion(const CString& gameDir, PackageFinder find) : m_gameDir(gameDir), m_find(find) {}

InstalledVersion::FileState& InstalledVersion::State(const CString& name)
{
    FileState& state = m_files[NameKey(name).Str()];
    if (!state.read) {
        state.read = true;
        state.exists = ReadFileStamp(GameFolder(m_gameDir).Path(name.Str()), &state.size, &state.modified);
    }
    return state;
}

// The variant's files as its packages leave them: a later package's entry replaces an earlier one.
std::vector<PackageEntry> InstalledVersion::FilesOf(const VersionVariant& variant)
{
    std::vector<PackageEntry> files;
    for (unsigned int id : variant.packages) {
        if (id == 0) continue;
        if (!m_packages.count(id)) {
            const void* data = nullptr;
            unsigned long size = 0;
            std::vector<PackageEntry> entries;
            if (m_find(id, &data, &size)) ListPackageEntries(data, size, entries);
            m_packages[id] = entries;
        }
        for (const PackageEntry& e : m_packages[id]) {
            if (e.folder || e.name.IsEmpty()) continue;
            bool replaced = false;
            for (PackageEntry& f : files)
                if (NameKey(f.name) == NameKey(e.name)) f = e, replaced = true;
            if (!replaced) files.push_back(e);
        }
    }
    return files;
}

bool InstalledVersion::Matches(const VersionVariant& variant, std::vector<DifferingFile>* differing, bool readContents)
{
    std::vector<PackageEntry> files = FilesOf(variant);
    // A variant whose packages are not carried cannot be told.
    if (files.empty()) return false;
    bool all = true;
    // Sizes first, times next: a file is read whole only when both passes leave it open.
    std::vector<const PackageEntry*> unsettled;
    for (const PackageEntry& e : files) {
        FileState& state = State(e.name);
        if (!state.exists || state.size != e.uncompressedSize) {
            all = false;
            if (!differing) return false;
            differing->push_back({e.name, !state.exists});
        } else if (CompareFileTime(&state.modified, &e.modified) != 0) {
            unsettled.push_back(&e);
        }
    }
    if (!readContents && !unsettled.empty()) return false;
    for (const PackageEntry* e : unsettled) {
        if (!all && !differing) return false;
        FileState& state = State(e->name);
        if (!state.crcRead) {
            state.crcRead = true;
            unsigned long long size = 0;
            state.crcKnown = ZipFileCrc32(GameFolder(m_gameDir).Path(e->name.Str()).c_str(), &state.crc, &size);
        }
        if (!state.crcKnown || state.crc != e->crc) {
            all = false;
            if (differing) differing->push_back({e->name, false});
        }
    }
    return all;
}

const VersionVariant* InstalledVersion::Identify()
{
    // Files a switch wrote match by their times; contents are read only when none does so.
    for (bool readContents : {false, true})
        for (const VersionVariant* variant : kAllVariants)
            if (Matches(*variant, nullptr, readContents)) return variant;
    return nullptr;
}

LabelDecision InstalledVersion::DecideLabel(const CString& record, const std::function<CString()>& detect, bool mayRecord)
{
    LabelDecision decision;
    const VersionVariant* recorded = VariantOfLabel(record);
    if (recorded && Matches(*recorded, &decision.differing)) {
        decision.label = record;
        decision.differing.clear();
        return decision;
    }
    const VersionVariant* found = Identify();
    decision.label = found ? CString(found->label) : detect();
    // A recorded version that the files are no longer, and no other either: the player should know which files.
    if (!found && recorded) decision.unmatched = recorded;
    else decision.differing.clear();
    if (mayRecord && (record.IsEmpty() || decision.label != record))
        decision.recorded = WriteStoredVersion(m_gameDir, decision.label);
    return decision;
}

const VersionVariant* InstalledVersion::VariantOfLabel(const CString& label)
{
    for (const VersionVariant* variant : kAllVariants)
        if (label == CString(variant->label)) return variant;
    return nullptr;
}
