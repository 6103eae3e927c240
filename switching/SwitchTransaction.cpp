#include "switching/SwitchTransaction.h"
#include "framework/LongPath.h"
#include "switching/FaultPoint.h"
#include "switching/StoredVersion.h"
#include "zip/ZipArchive.h"
#include "zip/ZipFileCrc.h"

const wchar_t SwitchTransaction::kBackupFolder[] = L"版本转换备份";

namespace {

const wchar_t kStaging[] = L"~kelvadi-switch";
const wchar_t kLock[] = L"~kelvadi-switch.lock";
const wchar_t kJournal[] = L"~kelvadi-switch\\journal";
const wchar_t kTemporaryArchive[] = L"war_temp.zip";

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Move(const std::wstring& from, const std::wstring& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), 0) != FALSE;
}

// The folder part of a relative name, with its separator; empty for a plain name.
std::wstring FolderOf(const std::wstring& name)
{
    size_t cut = name.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : name.substr(0, cut + 1);
}

// Every file matching the pattern in the folder, by name.
std::vector<std::wstring> FilesMatching(const std::wstring& folder, const wchar_t* pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(LongPathForm(folder + L"\\" + pattern).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

bool StagedIntact(const std::wstring& path, const JournalEntry& entry)
{
    DWORD crc = 0;
    unsigned long long size = 0;
    return ZipFileCrc32(path.c_str(), &crc, &size) && crc == entry.crc && size == entry.size;
}

} // namespace

bool RemoveFileRetrying(const std::wstring& path, int attempts)
{
    for (int attempt = 1;; ++attempt) {
        if (DeleteFileW(path.c_str())) return true;
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
        if (attempt >= attempts || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)) return false;
        // Scanners and indexers hold a new file for moments: back off a little more each time.
        Sleep(25 * attempt);
    }
}

SwitchTransaction::SwitchTransaction(const CString& gameDir) : m_gameDir(gameDir) {}

SwitchTransaction::~SwitchTransaction()
{
    if (m_prepared && !m_keepStaging) RemoveStaging();
}

std::wstring SwitchTransaction::In(const std::wstring& relative) const
{
    return LongPathForm(m_gameDir.Str() + L"\\" + relative);
}

std::wstring SwitchTransaction::StagedFile(unsigned int slot, const wchar_t* extension) const
{
    return In(std::wstring(kStaging) + L"\\" + std::to_wstring(slot) + extension);
}

bool SwitchTransaction::Lock()
{
    if (m_lock) return true;
    // Deleted when its last handle closes, which the system does for a process that was killed.
    m_lock.Attach(CreateFileW(In(kLock).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    // Where no lock file can be made the folder is not writable, which the switch finds out itself.
    return m_lock || GetLastError() != ERROR_SHARING_VIOLATION;
}

bool SwitchTransaction::HasTraces() const
{
    return Exists(In(kStaging)) || Exists(In(kTemporaryArchive)) || Exists(In(kLock)) ||
           !FilesMatching(m_gameDir.Str(), L"~zip*.tmp").empty() || !FilesMatching(m_gameDir.Str(), L"wargame.ini.~*").empty();
}

RecoveryResult SwitchTransaction::Recover(CString* label)
{
    if (!HasTraces()) return RecoveryResult::Nothing;
    if (!Lock()) return RecoveryResult::Busy;
    RecoveryResult result = RecoveryResult::Cleaned;
    SwitchJournal journal;
    if (journal.Read(In(kJournal))) {
        // A staged file that a power loss left unwritten must not replace a good one.
        bool intact = true;
        for (const JournalEntry& e : journal.entries) {
            std::wstring staged = StagedFile(e.slot, L".new");
            intact = intact && (!Exists(staged) || StagedIntact(staged, e));
        }
        bool forward = intact;
        for (const JournalEntry& e : journal.entries) forward = forward && RollForward(e);
        if (forward) {
            WriteStoredVersion(m_gameDir, journal.label);
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

void SwitchTransaction::RemoveLeftovers()
{
    // Only moments of retrying: whatever another program still holds goes at a later start.
    RemoveFileRetrying(In(kTemporaryArchive), 2);
    for (const wchar_t* pattern : {L"~zip*.tmp", L"wargame.ini.~*"})
        for (const std::wstring& name : FilesMatching(m_gameDir.Str(), pattern)) RemoveFileRetrying(In(name), 1);
}

bool SwitchTransaction::Prepare()
{
    RemoveStaging();
    m_staged.clear();
    m_prepared = CreateDirectoryW(In(kStaging).c_str(), nullptr) != FALSE;
    return m_prepared;
}

CString SwitchTransaction::StagingFolder() const
{
    return m_gameDir + L"\\" + kStaging;
}

CString SwitchTransaction::Stage(const CString& name, unsigned long long size, DWORD crc)
{
    CString key = NameKey(name);
    size_t slot = 0;
    while (slot < m_staged.size() && m_staged[slot].key != key) ++slot;
    if (slot == m_staged.size()) m_staged.push_back({name, key, size, crc});
    else m_staged[slot] = {m_staged[slot].name, key, size, crc};
    return CString(std::to_wstring(slot) + L".new");
}

bool SwitchTransaction::RollForward(const JournalEntry& entry)
{
    std::wstring staged = StagedFile(entry.slot, L".new");
    if (!Exists(staged)) return true;
    std::wstring target = In(entry.target.Str());
    std::wstring aside = StagedFile(entry.slot, L".old");
    if (Exists(target)) {
        if (Exists(aside) || !Move(target, aside)) return false;
        FaultPoint();
    }
    std::wstring folder = FolderOf(entry.target.Str());
    if (!folder.empty()) MakeDirectoryChain((m_gameDir + L"\\").Str().c_str(), folder.c_str());
    if (!Move(staged, target)) return false;
    FaultPoint();
    return true;
}

bool SwitchTransaction::RollBack(const JournalEntry& entry)
{
    std::wstring staged = StagedFile(entry.slot, L".new");
    std::wstring target = In(entry.target.Str());
    std::wstring aside = StagedFile(entry.slot, L".old");
    bool movedIn = !Exists(staged) && (Exists(aside) || !entry.hadOriginal);
    if (movedIn && Exists(target)) {
        if (!Move(target, staged)) return false;
        FaultPoint();
    }
    if (Exists(aside)) {
        if (!Move(aside, target)) return false;
        FaultPoint();
    }
    return true;
}

bool SwitchTransaction::RollBackAll(const SwitchJournal& journal, size_t count)
{
    bool undone = true;
    for (size_t i = count; i-- > 0;) undone = RollBack(journal.entries[i]) && undone;
    if (!undone) {
        m_keepStaging = true;
        return false;
    }
    // From here the old version is whole again: the journal must not send the next start forward.
    DeleteFileW(In(kJournal).c_str());
    FaultPoint();
    return true;
}

bool SwitchTransaction::KeepOriginal(const JournalEntry& entry, const std::wstring& original)
{
    std::wstring name = entry.target.Str();
    size_t dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos || dot < FolderOf(name).size()) dot = name.size();
    std::wstring folder = std::wstring(kBackupFolder) + L"\\" + FolderOf(name);
    MakeDirectoryChain((m_gameDir + L"\\").Str().c_str(), folder.c_str());
    // An earlier original of the same name stays; this one takes a numbered name beside it.
    for (int n = 1; n < 100; ++n) {
        std::wstring kept = n == 1 ? name : name.substr(0, dot) + L" (" + std::to_wstring(n) + L")" + name.substr(dot);
        std::wstring path = In(std::wstring(kBackupFolder) + L"\\" + kept);
        if (!Exists(path)) return Move(original, path);
    }
    return false;
}

bool SwitchTransaction::Finish(const SwitchJournal& journal, std::vector<CString>* kept, std::vector<CString>* unkept)
{
    bool settled = true;
    for (const JournalEntry& e : journal.entries) {
        std::wstring aside = StagedFile(e.slot, L".old");
        if (!Exists(aside)) continue;
        if (e.keepOriginal) {
            // The player's own file: never removed, only moved once it can be (a scanner may hold it).
            bool moved = KeepOriginal(e, aside);
            for (int attempt = 1; !moved && attempt < 5; ++attempt) {
                Sleep(25 * attempt);
                moved = KeepOriginal(e, aside);
            }
            if (moved && kept) kept->push_back(e.target);
            if (!moved && unkept) unkept->push_back(e.target);
            settled = settled && moved;
        } else {
            SetFileAttributesW(aside.c_str(), FILE_ATTRIBUTE_NORMAL);
            RemoveFileRetrying(aside);
        }
        FaultPoint();
    }
    if (!settled) return false;
    DeleteFileW(In(kJournal).c_str());
    FaultPoint();
    RemoveStaging();
    return true;
}

void SwitchTransaction::RemoveStaging()
{
    std::wstring folder = In(kStaging);
    if (!Exists(folder)) return;
    for (const std::wstring& name : FilesMatching((m_gameDir + L"\\" + kStaging).Str(), L"*")) {
        // Staged entries may carry the read-only attribute of their archive.
        std::wstring path = In(std::wstring(kStaging) + L"\\" + name);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveFileRetrying(path, 3);
    }
    RemoveDirectoryW(folder.c_str());
}

CommitReport SwitchTransaction::Commit(const CString& label, const std::vector<PackageEntry>& known)
{
    CommitReport report;
    SwitchJournal journal;
    journal.label = label;
    for (size_t slot = 0; slot < m_staged.size(); ++slot) {
        JournalEntry e;
        e.slot = static_cast<unsigned int>(slot);
        e.target = m_staged[slot].name;
        e.size = m_staged[slot].size;
        e.crc = m_staged[slot].crc;
        std::wstring target = In(e.target.Str());
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW(target.c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            FindClose(find);
            // The file keeps the name it has on disk, in its letter case.
            e.target = CString(FolderOf(e.target.Str()) + found.cFileName);
            e.hadOriginal = true;
            e.keepOriginal = !MatchesPackageEntry(target, known);
        }
        journal.entries.push_back(e);
    }
    if (!journal.Write(In(kJournal))) {
        report.refused = kJournal;
        return report;
    }
    m_keepStaging = true;
    FaultPoint();

    for (size_t i = 0; i < journal.entries.size(); ++i) {
        if (RollForward(journal.entries[i])) continue;
        report.refused = journal.entries[i].target;
        report.stuck = !RollBackAll(journal, i + 1);
        if (!report.stuck) m_keepStaging = false;
        return report;
    }
    report.committed = true;
    report.recordWritten = WriteStoredVersion(m_gameDir, label);
    FaultPoint();
    m_keepStaging = !Finish(journal, &report.kept, &report.unkept);
    for (const JournalEntry& e : journal.entries) {
        unsigned long long size = 0;
        if (!ReadFileStamp(In(e.target.Str()), &size, nullptr) || size != e.size) report.vanished.push_back(e.target);
    }
    return report;
}
