#pragma once
#include "framework/CHandle.h"
#include "framework/CString.h"
#include "switching/EarlyFlush.h"
#include "switching/FileStamps.h"
#include "switching/GameFolder.h"
#include "switching/OriginalSums.h"
#include "switching/PackageListing.h"
#include "switching/SwitchJournal.h"
#include <string>
#include <vector>

// Whether this launcher holds the game folder's switch lock.
enum class LockState {
    Held,
    Busy,     // another launcher holds it
    Refused,  // the lock file cannot be made at all (no right to write the folder): nothing may be switched
};

// What the start-up found of an interrupted switch.
enum class RecoveryResult {
    Nothing,        // no trace of one
    Cleaned,        // staging or temporary files of a switch that never began its commit, removed
    RolledForward,  // a commit that had begun, finished
    RolledBack,     // a commit whose files were not all whole, undone
    Busy,           // another launcher is switching the folder now
    Stuck,          // files could be neither moved forward nor back, or an original not yet kept; the journal
                    // stays for the next start, and no new switch may begin
    Unreadable,     // a journal that cannot be read or trusted, or originals set aside without one: nothing
                    // was touched, and no new switch may begin
    Refused,        // traces of a switch in a folder the launcher may not write: nothing was touched
};

// How a commit ended.
enum class CommitResult {
    Committed,         // every file is in place
    StagedLost,        // a staged file was gone or could not be made durable before the journal; nothing changed
    JournalUnwritten,  // the journal could not be written; nothing changed
    Refused,           // a replacement was refused during the renames; everything was put back
    Stuck,             // ... and could not be put back: the next start finishes the switch
};

// What a commit did.
struct CommitReport {
    CommitResult result = CommitResult::Refused;
    CString file;                  // the staged file lost, or the file whose replacement was refused
    DWORD error = 0;               // the system's reason, for a lost staged file or an unwritten journal
    bool recordWritten = false;
    std::vector<CString> kept;     // originals moved into the backup folder
    std::vector<CString> unkept;   // originals that could not be moved there yet: left in the staging folder
    std::vector<CString> vanished; // written, but gone or cut short right after (a scanner took them)
};

// A switch's changes to the game folder as one transaction: the folder's lock, a staging folder
// where every new file is written, checked and flushed first, a journal, one pass of renames as
// the commit, then the record and the clean-up. What was staged but not committed goes on
// destruction; the staging folder never goes while a journal is in it. The commit point, and why
// a kill or a power cut anywhere ends as one whole version, is the comment in Commit. Paths in
// the game folder come from GameFolder; the reasons a switch stops, from SwitchStop.
class SwitchTransaction {
public:
    static const wchar_t kBackupFolder[];
    static const wchar_t kStagingFolder[];

    explicit SwitchTransaction(const CString& gameDir);
    ~SwitchTransaction();
    SwitchTransaction(const SwitchTransaction&) = delete;
    SwitchTransaction& operator=(const SwitchTransaction&) = delete;

    LockState Lock();
    // The system's reason when the lock was refused.
    DWORD LockError() const { return m_lockError; }
    // Finishes or undoes what an interrupted switch left and removes its leftovers; the label
    // of a finished switch is recorded and returned. Takes the lock when it is not held.
    RecoveryResult Recover(CString* label = nullptr);

    // An empty staging folder; false, with the system's reason, when it cannot be made.
    bool Prepare(DWORD* error = nullptr);
    // The staging folder as the reader takes its base folder (not in the long form).
    CString StagingFolder() const;
    // The full path of a file Stage named.
    std::wstring StagedPath(const CString& staged) const;
    // The staging file for an entry, relative to the staging folder; a later entry of the same
    // name in any letter case takes the same file, and so replaces the earlier one.
    CString Stage(const CString& name, unsigned long long size, DWORD crc);
    // Whether an entry of this name, in any letter case, has a staging file.
    bool IsStaged(const CString& name) const;
    // Called once the entry is written: the launcher's files are plain, since read-only, hidden or
    // system attributes from an archive would make a later entry or switch refuse them as protected.
    void Staged(const CString& staged);

    // From the next commit on, originals that hold a known entry go to the kept versions (within
    // the limit, and while the volume keeps the reserve free) rather than being removed.
    void KeepDisplaced(unsigned long long limit, unsigned long long reserve);
    // Starts summing, on a second thread, the game files the commit will set aside (full paths).
    void SumOriginalsAhead(const std::vector<std::wstring>& paths) { m_originalSums.Start(paths, &m_stamps); }
    // The files this launcher placed or kept, whose contents need no reading while unchanged.
    FileStamps& Stamps() { return m_stamps; }

    // Flush, journal, renames, record, clean-up. Originals whose contents match none of the known
    // entries are kept in the backup folder rather than removed.
    CommitReport Commit(const CString& label, const std::vector<PackageEntry>& known);

private:
    struct StagedEntry {
        CString name;
        CString key;
        unsigned long long size;
        DWORD crc;
        DWORD originalCrc = 0;  // of the file it replaces, when that holds a known entry
    };

    std::wstring In(const std::wstring& relative) const;
    std::wstring StagedFile(unsigned int slot, const wchar_t* extension) const;
    SwitchJournal PlanJournal(const CString& label, const std::vector<PackageEntry>& known);
    bool MakeDurable(const SwitchJournal& journal, CommitReport& report);
    // Which entries of a journal found at start-up are in place already; false when a file is
    // neither staged whole nor in place whole, and the switch must go back.
    bool Verify(const SwitchJournal& journal, std::vector<bool>& inPlace) const;
    bool RollForward(const JournalEntry& entry);
    bool RollBack(const JournalEntry& entry);
    bool RollBackAll(const SwitchJournal& journal, size_t count);
    // False when something stays for the next start: an original to keep that could not be moved
    // into the backup folder yet, or one to remove that could not be; so does the journal then.
    bool Finish(const SwitchJournal& journal, std::vector<CString>* kept, std::vector<CString>* unkept);
    // 0, or the system's reason the original could not be moved into the backup folder.
    DWORD KeepOriginal(const JournalEntry& entry, const std::wstring& original);
    void RemoveStaging();
    void RemoveLeftovers();
    bool HasTraces() const;

    GameFolder m_folder;
    CHandle m_lock;
    DWORD m_lockError = 0;
    bool m_prepared = false;
    std::vector<StagedEntry> m_staged;
    EarlyFlush m_earlyFlush;
    OriginalSums m_originalSums;
    FileStamps m_stamps;
    unsigned long long m_keptLimit = 0;  // 0: displaced originals are removed, not kept
    unsigned long long m_keptReserve = 0;
};

// Removes a file; one held open by another program (a scanner, an
// indexer) is tried again for a little over a second. True when it is gone.
bool RemoveFileRetrying(const std::wstring& path, int attempts = 10);
