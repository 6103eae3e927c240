#include "switching/SwitchTransaction.h"
#include "framework/CFileFind.h"
#include "framework/LongPath.h"
#include "switching/DurableFile.h"
#include "switching/FaultPoint.h"
#include "switching/KeptVersions.h"
#include "switching/RetryWhileHeld.h"
#include "switching/StoredVersion.h"
#include "zip/ZipArchive.h"
#include "zip/ZipEntryName.h"
#include <memory>

const wchar_t SwitchTransaction::kBackupFolder[] = L"版本转换备份";
const wchar_t SwitchTransaction::kStagingFolder[] = L"~kelvadi-switch";

namespace {

const wchar_t kLock[] = L"~kelvadi-switch.lock";
const wchar_t kJournal[] = L"~kelvadi-switch\\journal";
// Left beside a journal that could not be removed after a roll-back: the next start goes back, not forward.
const wchar_t kRolledBack[] = L"~kelvadi-switch\\rolled-back";
// Earlier launchers extracted each package through this copy of it; one left behind is a leftover.
const wchar_t kTemporaryArchive[] = L"war_temp.zip";

bool Move(const std::wstring& from, const std::wstring& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), 0) != FALSE;
}

// A scanner may open a staged or game file for a moment at any time, also between its flush and
// its rename: the commit's renames wait that out rather than undo the switch.
bool MoveWhileHeld(const std::wstring& from, const std::wstring& to)
{
    return RetryWhileHeld(5, [&] { return Move(from, to) ? DWORD(0) : GetLastError(); }) == 0;
}

// Every file matching the pattern (a full path), by name.
std::vector<std::wstring> FilesMatching(const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    CFileFind finder;
    for (bool more = finder.FindFile(pattern.c_str()); more;) {
        more = finder.FindNextFile();
        if (!finder.IsDirectory()) names.push_back(finder.GetFileName().Str());
    }
    return names;
}


} // namespace

bool RemoveFileRetrying(const std::wstring& path, int attempts)
{
    return RetryWhileHeld(attempts, [&] {
        if (DeleteFileW(path.c_str())) return DWORD(0);
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? DWORD(0) : error;
    }) == 0;
}

SwitchTransaction::SwitchTransaction(const CString& gameDir) : m_folder(gameDir), m_stamps(m_folder) {}

SwitchTransaction::~SwitchTransaction()
{
    m_earlyFlush.Finish();
    if (m_prepared) RemoveStaging();
}

std::wstring SwitchTransaction::In(const std::wstring& relative) const
{
    return m_folder.Path(relative);
}

std::wstring SwitchTransaction::StagedFile(unsigned int slot, const wchar_t* extension) const
{
    return In(std::wstring(kStagingFolder) + L"\\" + std::to_wstring(slot) + extension);
}

LockState SwitchTransaction::Lock()
{
    if (m_lock) return LockState::Held;
    // Deleted when its last handle closes, which the system does for a process that was killed.
    m_lock.Attach(CreateFileW(In(kLock).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (m_lock) return LockState::Held;
    m_lockError = GetLastError();
    return m_lockError == ERROR_SHARING_VIOLATION ? LockState::Busy : LockState::Refused;
}

bool SwitchTransaction::HasTraces() const
{
    return PathExists(In(kStagingFolder)) || PathExists(In(kTemporaryArchive)) || PathExists(In(kLock)) ||
           !FilesMatching(In(L"~zip*.tmp")).empty() || !FilesMatching(In(L"wargame.ini.~*")).empty();
}

RecoveryResult SwitchTransaction::Recover(CString* label)
{
    if (!HasTraces()) return RecoveryResult::Nothing;
    LockState lock = Lock();
    if (lock != LockState::Held) return lock == LockState::Busy ? RecoveryResult::Busy : RecoveryResult::Refused;
    SwitchJournal journal;
    JournalState state = journal.Read(In(kJournal));
    // Originals are set aside only once the journal exists: without a journal to say whose they
    // are, they are kept as they lie, and so is one that cannot be read.
    if (state == JournalState::Unreadable ||
        (state == JournalState::Absent && !FilesMatching(In(std::wstring(kStagingFolder) + L"\\*.old")).empty()))
        return RecoveryResult::Unreadable;
    RecoveryResult result = RecoveryResult::Cleaned;
    if (state == JournalState::Read) {
        std::vector<bool> inPlace;
        bool forward = !PathExists(In(kRolledBack)) && Verify(journal, inPlace);
        for (size_t i = 0; forward && i < journal.entries.size(); ++i) forward = inPlace[i] || RollForward(journal.entries[i]);
        if (forward) {
            WriteStoredVersion(m_folder.Dir(), journal.label);
            FaultPoint();
            if (label) *label = journal.label;
            if (!Finish(journal, nullptr, nullptr)) return RecoveryResult::Stuck;
            result = RecoveryResult::RolledForward;
        } else {
            if (!RollBackAll(journal, journal.entries.size())) return RecoveryResult::Stuck;
            result = RecoveryResult::RolledBack;
        }
    }
    RemoveStaging();
    RemoveLeftovers();
    return result;
}

bool SwitchTransaction::Verify(const SwitchJournal& journal, std::vector<bool>& inPlace) const
{
    for (const JournalEntry& e : journal.entries) {
        std::wstring staged = StagedFile(e.slot, L".new");
        inPlace.push_back(!PathExists(staged));
        if (!FileHoldsData(inPlace.back() ? In(e.target.Str()) : staged, e.size, e.crc)) return false;
    }
    return true;
}

void SwitchTransaction::RemoveLeftovers()
{
    // Only moments of retrying: whatever another program still holds goes at a later start.
    RemoveFileRetrying(In(kTemporaryArchive), 2);
    for (const wchar_t* pattern : {L"~zip*.tmp", L"wargame.ini.~*"})
        for (const std::wstring& name : FilesMatching(In(pattern))) RemoveFileRetrying(In(name), 1);
}

bool SwitchTransaction::Prepare(DWORD* error)
{
    RemoveStaging();
    m_staged.clear();
    m_prepared = CreateDirectoryW(In(kStagingFolder).c_str(), nullptr) != FALSE;
    if (!m_prepared && error) *error = GetLastError();
    return m_prepared;
}

CString SwitchTransaction::StagingFolder() const
{
    return m_folder.Shown(kStagingFolder);
}

CString SwitchTransaction::Stage(const CString& name, unsigned long long size, DWORD crc)
{
    CString key = NameKey(name);
    size_t slot = 0;
    while (slot < m_staged.size() && m_staged[slot].key != key) ++slot;
    if (slot == m_staged.size()) {
        m_staged.push_back({name, key, size, crc});
    } else {
        // A file written already is about to be replaced: the early flush must not hold it then.
        if (PathExists(StagedFile(static_cast<unsigned int>(slot), L".new"))) m_earlyFlush.Finish();
        m_staged[slot] = {m_staged[slot].name, key, size, crc};
    }
    return CString(std::to_wstring(slot) + L".new");
}

bool SwitchTransaction::IsStaged(const CString& name) const
{
    CString key = NameKey(name);
    for (const StagedEntry& e : m_staged)
        if (e.key == key) return true;
    return false;
}

std::wstring SwitchTransaction::StagedPath(const CString& staged) const
{
    return In(std::wstring(kStagingFolder) + L"\\" + staged.Str());
}

void SwitchTransaction::KeepDisplaced(unsigned long long limit, unsigned long long reserve)
{
    m_keptLimit = limit;
    m_keptReserve = reserve;
}

void SwitchTransaction::Staged(const CString& staged)
{
    std::wstring path = StagedPath(staged);
    DWORD attributes = GetFileAttributesW(path.c_str());
    const DWORD protecting = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & protecting))
        SetFileAttributesW(path.c_str(), (attributes & ~protecting) | FILE_ATTRIBUTE_ARCHIVE);
    m_earlyFlush.Add(path);
}

bool SwitchTransaction::RollForward(const JournalEntry& entry)
{
    std::wstring staged = StagedFile(entry.slot, L".new");
    // A staged file that is gone (a scanner took it) is no reason to take the original away.
    if (!PathExists(staged)) return false;
    std::wstring target = In(entry.target.Str());
    std::wstring aside = StagedFile(entry.slot, L".old");
    if (PathExists(target)) {
        if (PathExists(aside) || !MoveWhileHeld(target, aside)) return false;
        FaultPoint();
    }
    std::wstring folder = FolderPart(entry.target.Str());
    if (!folder.empty()) MakeDirectoryChain(m_folder.Root(), folder.c_str());
    if (!MoveWhileHeld(staged, target)) return false;
    FaultPoint();
    return true;
}

bool SwitchTransaction::RollBack(const JournalEntry& entry)
{
    std::wstring staged = StagedFile(entry.slot, L".new");
    std::wstring target = In(entry.target.Str());
    std::wstring aside = StagedFile(entry.slot, L".old");
    bool movedIn = !PathExists(staged) && (PathExists(aside) || !entry.hadOriginal);
    if (movedIn && PathExists(target)) {
        if (!MoveWhileHeld(target, staged)) return false;
        FaultPoint();
    }
    if (PathExists(aside)) {
        if (!MoveWhileHeld(aside, target)) return false;
        FaultPoint();
    }
    return true;
}

bool SwitchTransaction::RollBackAll(const SwitchJournal& journal, size_t count)
{
    bool undone = true;
    for (size_t i = count; i-- > 0;) undone = RollBack(journal.entries[i]) && undone;
    if (!undone) return false;
    // From here the old version is whole again: the journal must not send the next start forward.
    if (RemoveFileRetrying(In(kJournal))) {
        FaultPoint();
        return true;
    }
    std::wstring mark = In(kRolledBack);
    return PathExists(mark) || WriteFileDurably(mark, mark + L".tmp", std::string()) == 0;
}

DWORD SwitchTransaction::KeepOriginal(const JournalEntry& entry, const std::wstring& original)
{
    std::wstring name = entry.target.Str();
    size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos || dot < FolderPart(name).size()) dot = name.size();
    std::wstring folder = std::wstring(kBackupFolder) + L"\\" + FolderPart(name);
    MakeDirectoryChain(m_folder.Root(), folder.c_str());
    // An earlier original of the same name stays; this one takes the first free numbered name beside it.
    for (unsigned long n = 1; n != 0; ++n) {
        std::wstring kept = n == 1 ? name : name.substr(0, dot) + L" (" + std::to_wstring(n) + L")" + name.substr(dot);
        std::wstring path = In(std::wstring(kBackupFolder) + L"\\" + kept);
        if (PathExists(path)) continue;
        if (Move(original, path)) return 0;
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return error ? error : ERROR_GEN_FAILURE;
    }
    return ERROR_FILE_EXISTS;
}

bool SwitchTransaction::Finish(const SwitchJournal& journal, std::vector<CString>* kept, std::vector<CString>* unkept)
{
    bool settled = true;
    std::unique_ptr<KeptVersions> keptVersions;
    if (m_keptLimit > 0 && kept) keptVersions.reset(new KeptVersions(m_folder, m_keptLimit, m_keptReserve, &m_stamps));
    for (const JournalEntry& e : journal.entries) {
        std::wstring aside = StagedFile(e.slot, L".old");
        if (!PathExists(aside)) continue;
        if (e.keepOriginal) {
            // The player's own file: never removed, only moved once it can be (a scanner may hold it).
            bool moved = RetryWhileHeld(5, [&] { return KeepOriginal(e, aside); }) == 0;
            if (moved && kept) kept->push_back(e.target);
            if (!moved && unkept) unkept->push_back(e.target);
            settled = settled && moved;
        } else if (!keptVersions || e.slot >= m_staged.size() || !keptVersions->Keep(aside, m_staged[e.slot].originalCrc)) {
            // Known contents are kept for a switch back where there is room (only the commit knows
            // their CRC); otherwise they go.
            SetFileAttributesW(aside.c_str(), FILE_ATTRIBUTE_NORMAL);
            // One that stays needs the journal beside it, or the next start could not tell it from an original.
            settled = RemoveFileRetrying(aside) && settled;
        }
        FaultPoint();
    }
    if (!settled || !RemoveFileRetrying(In(kJournal))) return false;
    FaultPoint();
    RemoveStaging();
    return true;
}

void SwitchTransaction::RemoveStaging()
{
    std::wstring folder = In(kStagingFolder);
    // A journal's files are the player's until the journal says otherwise.
    if (!PathExists(folder) || PathExists(In(kJournal))) return;
    for (const std::wstring& name : FilesMatching(In(std::wstring(kStagingFolder) + L"\\*"))) {
        // Staged entries may carry the read-only attribute of their archive.
        std::wstring path = In(std::wstring(kStagingFolder) + L"\\" + name);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveFileRetrying(path, 3);
    }
    RemoveDirectoryW(folder.c_str());
}

SwitchJournal SwitchTransaction::PlanJournal(const CString& label, const std::vector<PackageEntry>& known)
{
    SwitchJournal journal;
    journal.label = label;
    for (size_t slot = 0; slot < m_staged.size(); ++slot) {
        JournalEntry e;
        e.slot = static_cast<unsigned int>(slot);
        e.target = m_staged[slot].name;
        e.size = m_staged[slot].size;
        e.crc = m_staged[slot].crc;
        std::wstring target = In(e.target.Str());
        CFileFind finder;
        if (finder.FindFile(target.c_str())) {
            finder.FindNextFile();
            // The file keeps the name it has on disk, in its letter case.
            e.target = CString(FolderPart(e.target.Str())) + finder.GetFileName();
            e.hadOriginal = true;
            e.keepOriginal = !MatchesPackageEntry(target, known, &m_staged[slot].originalCrc, &m_originalSums);
        }
        journal.entries.push_back(e);
    }
    return journal;
}

bool SwitchTransaction::MakeDurable(const SwitchJournal& journal, CommitReport& report)
{
    m_earlyFlush.Finish();
    for (const JournalEntry& e : journal.entries) {
        std::wstring staged = StagedFile(e.slot, L".new");
        if (m_earlyFlush.Flushed(staged) && PathExists(staged)) continue;
        DWORD error = RetryWhileHeld(5, [&] { return FlushFileToDisk(staged); });
        if (error) {
            report.result = CommitResult::StagedLost;
            report.file = e.target;
            report.error = error;
            return false;
        }
    }
    return true;
}

CommitReport SwitchTransaction::Commit(const CString& label, const std::vector<PackageEntry>& known)
{
    CommitReport report;
    FaultPoint("staged");
    SwitchJournal journal = PlanJournal(label, known);
    if (!MakeDurable(journal, report)) return report;
    FaultPoint("flushed");
    report.error = journal.Write(In(kJournal));
    if (report.error) {
        report.result = CommitResult::JournalUnwritten;
        return report;
    }
    FaultPoint("journal");

    // The commit point. Before the journal's rename nothing of the game folder has changed, and a
    // kill or a power cut leaves staging that the next start removes. From it on, every new file's
    // data is on the disk (flushed above) and so is the journal's, while NTFS keeps the renames and
    // deletions that follow in their order: whatever prefix of them survives, the next start finds
    // the journal, counts a file as moved in only when it holds the journal's size and CRC, and
    // goes forward when every file is whole, staged or in place, else back to the originals set
    // aside. The originals leave only after the journal's files are all in place, and the journal
    // goes last of all.
    for (size_t i = 0; i < journal.entries.size(); ++i) {
        if (RollForward(journal.entries[i])) continue;
        report.file = journal.entries[i].target;
        report.result = RollBackAll(journal, i + 1) ? CommitResult::Refused : CommitResult::Stuck;
        return report;
    }
    report.result = CommitResult::Committed;
    for (const JournalEntry& e : journal.entries) m_stamps.Record(In(e.target.Str()), e.crc);
    report.recordWritten = WriteStoredVersion(m_folder.Dir(), label);
    FaultPoint();
    Finish(journal, &report.kept, &report.unkept);
    m_stamps.Save();
    for (const JournalEntry& e : journal.entries) {
        unsigned long long size = 0;
        if (!ReadFileStamp(In(e.target.Str()), &size, nullptr) || size != e.size) report.vanished.push_back(e.target);
    }
    return report;
}
