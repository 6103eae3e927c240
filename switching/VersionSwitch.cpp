#include "switching/VersionSwitch.h"
#include "framework/CWaitCursor.h"
#include "framework/CWinApp.h"
#include "framework/ResourceData.h"
#include "switching/EntryWorker.h"
#include "switching/FaultPoint.h"
#include "switching/GameFolder.h"
#include "switching/KeptVersions.h"
#include "zip/ZipArchive.h"
#include "zip/ZipEntryName.h"
#include <algorithm>
#include <memory>
#include <string>

namespace {

bool VolumeIsFull(const CString& gameDir, unsigned long long wanted)
{
    unsigned long long free = 0;
    return GameFolder(gameDir).FreeSpace(&free) && free < wanted;
}

// A file that holds the entry already, checked as a kept file is (its stamp, else size and CRC),
// needs no staging: it keeps its place and takes the entry's times, as extraction would leave it.
// A version's files that the version before lacked stay through a switch, and a switch back finds
// them so.
bool HoldsEntryInPlace(const GameFolder& folder, const PackageEntry& entry, FileStamps& stamps)
{
    std::wstring path = folder.Path(entry.name.Str());
    if (!FileHoldsData(path, entry.uncompressedSize, entry.crc, &stamps) || !GiveEntryTimes(path, entry)) return false;
    // Setting the times moved its change time.
    stamps.Record(path, entry.crc);
    return true;
}

// The entry worth a second thread: the largest left to extract, when it is big enough to pay for
// the thread and no other entry of the package has its name (of two, the later must win); -1 otherwise.
int EntryForWorker(const std::vector<PackageEntry>& entries, const std::vector<bool>& taken)
{
    const unsigned long long kWorthy = 4ull << 20;
    int best = -1;
    for (size_t i = 0; i < entries.size() && i < taken.size(); ++i)
        if (!taken[i] && !entries[i].folder && !entries[i].name.IsEmpty() && entries[i].uncompressedSize >= kWorthy &&
            (best < 0 || entries[i].uncompressedSize > entries[best].uncompressedSize))
            best = static_cast<int>(i);
    for (size_t i = 0; best >= 0 && i < entries.size(); ++i)
        if (static_cast<int>(i) != best && NameKey(entries[i].name) == NameKey(entries[best].name)) return -1;
    return best;
}

SwitchStop StopOf(CommitResult result)
{
    switch (result) {
    case CommitResult::Committed: return SwitchStop::None;
    case CommitResult::StagedLost: return SwitchStop::StagedLost;
    case CommitResult::JournalUnwritten: return SwitchStop::JournalUnwritten;
    case CommitResult::Refused: return SwitchStop::CommitRefused;
    case CommitResult::Stuck: return SwitchStop::Stuck;
    }
    return SwitchStop::CommitRefused;
}

const unsigned int kAllPackages[] = {IDR_PACKAGE_120E, IDR_PACKAGE_124E, IDR_PACKAGE_126, IDR_PACKAGE_124E_8M,
                                     IDR_PACKAGE_120E_4M};

} // namespace

bool FindVersionPackage(unsigned int resourceId, const void** data, unsigned long* size)
{
    *data = LoadResourceData(AfxGetResourceHandle(), MAKEINTRESOURCEW(resourceId), L"zip", size);
    return *data != nullptr;
}

bool VersionSwitch::ExtractVersionPackage(unsigned int resourceId, SwitchTransaction& transaction, SwitchOutcome& outcome)
{
    const void* data = nullptr;
    unsigned long size = 0;
    if (!m_find(resourceId, &data, &size)) {
        outcome.missingPackages.push_back(resourceId);
        return outcome.Stop(SwitchStop::MissingPackages);
    }

    // Files in place already stay, contents a switch kept on this volume are renamed in, and only
    // the rest is extracted. A name staged by an earlier package is staged again, over that one.
    std::vector<PackageEntry> entries;
    std::vector<bool> taken;
    if (ListPackageEntries(data, size, entries)) {
        GameFolder folder(m_gameDir);
        KeptVersions kept(folder, KeptVersions::kDefaultLimit, 0, &transaction.Stamps());
        for (const PackageEntry& e : entries) {
            bool take = !e.folder && !e.name.IsEmpty();
            if (take && !transaction.IsStaged(e.name) && HoldsEntryInPlace(folder, e, transaction.Stamps())) {
                taken.push_back(true);
                continue;
            }
            if (take) {
                CString staged = transaction.Stage(e.name, e.uncompressedSize, e.crc);
                take = kept.Take(e, transaction.StagedPath(staged));
                if (take) {
                    transaction.Staged(staged);
                    FaultPoint();
                }
            }
            taken.push_back(take || e.folder);
        }
        if (std::find(taken.begin(), taken.end(), false) == taken.end()) return true;
    }

    // Read where the package lies, mapped with the program: a copy of it on the disk first would
    // double what the switch writes, and a leftover copy that could not be replaced would stop it.
    ZipArchiveOwner archive(ZipOpenMemory(data, size));
    if (!archive) return outcome.Stop(SwitchStop::ArchiveUnreadable);
    // The commit flushes every staged file: the large ones are mostly on the disk by then.
    archive->SetFlushBehind(true);
    if (ZipSetBaseDir(archive.get(), transaction.StagingFolder()) != ZIPRES_OK)
        return outcome.Stop(SwitchStop::FolderRefused);
    const int parallel = EntryForWorker(entries, taken);
    CString parallelStaged;
    std::unique_ptr<EntryWorker> worker;
    if (parallel >= 0) {
        const PackageEntry& e = entries[parallel];
        parallelStaged = transaction.Stage(e.name, e.uncompressedSize, e.crc);
        worker.reset(new EntryWorker(data, size, transaction.StagingFolder(), parallel, parallelStaged));
    }
    ShowBusy();
    ZipEntryInfo entry{};
    ZipGetEntry(archive.get(), -1, &entry);
    const int count = entry.nIndex;
    for (int index = 0; index < count; ++index) {
        entry = ZipEntryInfo{};
        if (ZipGetEntry(archive.get(), index, &entry) != ZIPRES_OK || entry.szName[0] == 0) {
            outcome.failedEntries.push_back(CString(L"#") + std::to_wstring(index + 1).c_str());
            return outcome.Stop(SwitchStop::EntryFailed);
        }
        // Folders need no staging: the commit makes those its files lie in.
        if ((entry.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) || (static_cast<size_t>(index) < taken.size() && taken[index]) ||
            index == parallel)
            continue;
        CString staged = transaction.Stage(entry.szName, entry.nUncompressedSize, entry.dwCrc32);
        if (ZipExtractEntry(archive.get(), index, staged) != ZIPRES_OK) {
            outcome.failedEntries.push_back(entry.szName);
            outcome.diskFull = VolumeIsFull(m_gameDir, entry.nUncompressedSize);
            return outcome.Stop(SwitchStop::EntryFailed);
        }
        transaction.Staged(staged);
        FaultPoint();
    }
    // Closed while the worker still inflates, rather than after it.
    archive.reset();
    if (worker) {
        const PackageEntry& e = entries[parallel];
        if (worker->Result() != ZIPRES_OK) {
            outcome.failedEntries.push_back(e.name);
            outcome.diskFull = VolumeIsFull(m_gameDir, e.uncompressedSize);
            return outcome.Stop(SwitchStop::EntryFailed);
        }
        transaction.Staged(parallelStaged);
        FaultPoint();
    }
    return true;
}

void VersionSwitch::Run(const VersionVariant& variant, SwitchOutcome& outcome)
{
    outcome = SwitchOutcome();
    SwitchTransaction transaction(m_gameDir);
    LockState lock = transaction.Lock();
    if (lock != LockState::Held) {
        outcome.Stop(lock == LockState::Busy ? SwitchStop::Busy : SwitchStop::FolderRefused);
        outcome.error = transaction.LockError();
        outcome.finished = true;
        return;
    }
    // What an interrupted switch left is finished or undone before anything is checked; what cannot
    // be yet stays as it is, for a new switch's staging would wipe the files it holds aside.
    RecoveryResult earlier = transaction.Recover();
    if (earlier == RecoveryResult::Stuck || earlier == RecoveryResult::Unreadable) {
        outcome.Stop(SwitchStop::EarlierPending);
        outcome.earlier = earlier;
        outcome.finished = true;
        return;
    }
    std::vector<PackageEntry> targets;
    if (Check(variant, outcome, targets)) {
        bool staged = transaction.Prepare(&outcome.error) || outcome.Stop(SwitchStop::FolderRefused);
        std::vector<PackageEntry> known = KnownEntries();
        if (staged) transaction.SumOriginalsAhead(OriginalsToSum(targets, known));
        for (unsigned int id : variant.packages)
            if (staged && id != 0) staged = ExtractVersionPackage(id, transaction, outcome);
        transaction.KeepDisplaced(KeptVersions::kDefaultLimit, outcome.needed);
        ShowBusy();
        if (staged) Report(transaction.Commit(variant.label, known), outcome);
    }
    m_busy.reset();
    outcome.finished = true;
}

void VersionSwitch::ShowBusy()
{
    if (!m_busy) m_busy.reset(new CWaitCursor);
}

void VersionSwitch::Report(const CommitReport& report, SwitchOutcome& outcome)
{
    outcome.stop = StopOf(report.result);
    outcome.file = report.file;
    outcome.error = report.error;
    outcome.recordWritten = report.recordWritten;
    outcome.keptOriginals = report.kept;
    outcome.unkeptOriginals = report.unkept;
    outcome.vanished = report.vanished;
}

std::vector<std::wstring> VersionSwitch::OriginalsToSum(const std::vector<PackageEntry>& targets,
                                                      const std::vector<PackageEntry>& known) const
{
    std::vector<std::wstring> paths;
    GameFolder folder(m_gameDir);
    for (const PackageEntry& e : targets) {
        unsigned long long found = 0;
        std::wstring path = folder.Path(e.name.Str());
        if (e.folder || e.name.IsEmpty() || !ReadFileStamp(path, &found, nullptr) || found == e.uncompressedSize) continue;
        for (const PackageEntry& k : known)
            if (!k.folder && k.uncompressedSize == found) {
                paths.push_back(path);
                break;
            }
    }
    return paths;
}

std::vector<PackageEntry> VersionSwitch::KnownEntries() const
{
    std::vector<PackageEntry> known;
    for (unsigned int id : kAllPackages) {
        const void* data = nullptr;
        unsigned long size = 0;
        std::vector<PackageEntry> entries;
        if (m_find(id, &data, &size) && ListPackageEntries(data, size, entries))
            known.insert(known.end(), entries.begin(), entries.end());
    }
    return known;
}

bool VersionSwitch::Check(const VersionVariant& variant, SwitchOutcome& outcome, std::vector<PackageEntry>& targets) const
{
    targets.clear();
    for (unsigned int id : variant.packages) {
        const void* data = nullptr;
        unsigned long size = 0;
        if (id == 0) continue;
        if (!m_find(id, &data, &size)) {
            outcome.missingPackages.push_back(id);
            continue;
        }
        std::vector<PackageEntry> entries;
        if (!ListPackageEntries(data, size, entries)) return outcome.Stop(SwitchStop::Damaged);
        for (const PackageEntry& e : entries) outcome.needed += e.uncompressedSize;
        targets.insert(targets.end(), entries.begin(), entries.end());
    }
    // Without all its packages the variant cannot be whole.
    if (!outcome.missingPackages.empty()) return outcome.Stop(SwitchStop::MissingPackages);

    outcome.blockedFiles = SwitchPreflight::CheckTargets(m_gameDir, targets);
    if (!outcome.blockedFiles.empty()) return outcome.Stop(SwitchStop::Blocked);
    return SwitchPreflight::HasRoom(m_gameDir, outcome.needed, &outcome.available) || outcome.Stop(SwitchStop::LacksRoom);
}
