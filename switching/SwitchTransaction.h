#pragma once
#include "framework/CHandle.h"
#include "framework/CString.h"
#include "switching/PackageListing.h"
#include "switching/SwitchJournal.h"
#include <string>
#include <vector>

// What the start-up found of an interrupted switch.
enum class RecoveryResult {
    Nothing,        // no trace of one
    Cleaned,        // staging or temporary files of a switch that never began its commit, removed
    RolledForward,  // a commit that had begun, finished
    RolledBack,     // a commit whose staged files were no longer intact, undone
    Busy,           // another launcher is switching the folder now
    Stuck,          // files could be neither moved forward nor back, or an original not yet kept; the journal
                    // stays for the next start, and no new switch may begin
};

// What a commit did.
struct CommitReport {
    bool committed = false;
    bool stuck = false;            // a refused rename could not be undone either; the next start finishes it
    CString refused;               // the file whose replacement was refused; everything was put back
    bool recordWritten = false;
    std::vector<CString> kept;     // originals moved into the backup folder
    std::vector<CString> unkept;   // originals that could not be moved there yet: left in the staging folder
    std::vector<CString> vanished; // written, but gone or cut short right after (a scanner took them)
};

// A switch's changes to the game folder as one transaction: the folder's lock, a staging folder
// where every new file is written and checked first, a journal, one pass of renames as the
// commit, then the record and the clean-up. What was staged but not committed goes on destruction.
class SwitchTransaction {
public:
    static const wchar_t kBackupFolder[];

    explicit SwitchTransaction(const CString& gameDir);
    ~SwitchTransaction();
    SwitchTransaction(const SwitchTransaction&) = delete;
    SwitchTransaction& operator=(const SwitchTransaction&) = delete;

    // False when another launcher holds the folder's lock.
    bool Lock();
    // Finishes or undoes what an interrupted switch left and removes its leftovers; the label
    // of a finished switch is recorded and returned. Takes the lock when it is not held.
    RecoveryResult Recover(CString* label = nullptr);

    // An empty staging folder; false when it cannot be made.
    bool Prepare();
    // The staging folder as the reader takes its base folder (not in the long form).
    CString StagingFolder() const;
    // The staging file for an entry, relative to the staging folder; a later entry of the same
    // name in any letter case takes the same file, and so replaces the earlier one.
    CString Stage(const CString& name, unsigned long long size, DWORD crc);

    // Journal, renames, record, clean-up. Files whose contents match none of the known entries
    // are kept in the backup folder rather than removed.
    CommitReport Commit(const CString& label, const std::vector<PackageEntry>& known);

private:
    struct Staged {
        CString name;
        CString key;
        unsigned long long size;
        DWORD crc;
    };

    std::wstring In(const std::wstring& relative) const;
    std::wstring StagedFile(unsigned int slot, const wchar_t* extension) const;
    bool RollForward(const JournalEntry& entry);
    bool RollBack(const JournalEntry& entry);
    bool RollBackAll(const SwitchJournal& journal, size_t count);
    // False when an original to keep could not be moved into the backup folder: it stays aside, and
    // so do the journal and the staging, for the next start to try again.
    bool Finish(const SwitchJournal& journal, std::vector<CString>* kept, std::vector<CString>* unkept);
    bool KeepOriginal(const JournalEntry& entry, const std::wstring& original);
    void RemoveStaging();
    void RemoveLeftovers();
    bool HasTraces() const;

    CString m_gameDir;
    CHandle m_lock;
    bool m_prepared = false;
    bool m_keepStaging = false;
    std::vector<Staged> m_staged;
};

// Removes a file; one held open by another program (a scanner, an
// indexer) is tried again for a little over a second. True when it is gone.
bool RemoveFileRetrying(const std::wstring& path, int attempts = 10);
