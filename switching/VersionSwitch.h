#pragma once
#include "framework/CString.h"
#include "framework/CWaitCursor.h"
#include "switching/PackageListing.h"
#include "switching/SwitchPreflight.h"
#include "switching/SwitchTransaction.h"
#include "switching/VersionVariant.h"
#include <memory>
#include <vector>

// Why a switch stopped, one reason a switch. Every reason but Stuck leaves the game folder as it was.
enum class SwitchStop {
    None,              // running, or every file of the variant is in place
    Busy,              // another launcher is switching the same folder
    EarlierPending,    // an earlier switch is not finished yet: this one did not begin (earlier)
    MissingPackages,   // not carried by the executable (missingPackages)
    Damaged,           // a package could not be read before anything was written
    Blocked,           // files that cannot be replaced (blockedFiles)
    LacksRoom,         // (needed, available)
    FolderRefused,     // no lock or staging could be made in the game folder, or the reader refused it (error)
    ArchiveUnreadable, // a package could not be opened where it lies
    EntryFailed,       // entries that could not be staged (failedEntries, diskFull)
    StagedLost,        // a staged file gone or held before the commit (file, error)
    JournalUnwritten,  // the journal could not be written (error)
    CommitRefused,     // a replacement refused during the commit; everything was put back (file)
    Stuck,             // ... and could not be put back: the next start finishes the switch (file)
};

// What a switch did, for the dialog to tell: the reason it stopped and the details that reason names.
struct SwitchOutcome {
    SwitchStop stop = SwitchStop::None;
    bool finished = false;  // false while the switch runs, and when an exception left it

    std::vector<unsigned int> missingPackages;  // also those reached before an exception
    std::vector<BlockedFile> blockedFiles;
    unsigned long long needed = 0;
    unsigned long long available = 0;
    RecoveryResult earlier = RecoveryResult::Nothing;
    std::vector<CString> failedEntries;
    bool diskFull = false;  // the volume filled up while staging
    CString file;           // the staged file lost, or the file whose replacement was refused
    DWORD error = 0;        // the system's reason, where it gave one

    // After the commit.
    bool recordWritten = false;
    std::vector<CString> keptOriginals;    // moved into SwitchTransaction::kBackupFolder
    std::vector<CString> unkeptOriginals;  // could not be moved there yet; the next start tries again
    std::vector<CString> vanished;         // gone or cut short right after the commit

    bool Complete() const { return finished && stop == SwitchStop::None; }
    // Ends the switch for this reason.
    bool Stop(SwitchStop reason)
    {
        stop = reason;
        return false;
    }
};

// The package's bytes where they lie; false when it is not carried.
typedef bool (*PackageFinder)(unsigned int resourceId, const void** data, unsigned long* size);
// Looks in the executable's resources.
bool FindVersionPackage(unsigned int resourceId, const void** data, unsigned long* size);

// Puts version packages into effect in the game directory, all of a variant or nothing.
class VersionSwitch {
public:
    explicit VersionSwitch(const CString& gameDir, PackageFinder find = FindVersionPackage)
        : m_gameDir(gameDir), m_find(find) {}

    // Stages one package's files, from where the package lies in memory: those in place already
    // stay, kept ones are renamed in, the rest is extracted (the largest on a second thread);
    // false, with the reason in the outcome, when an entry could not be staged.
    bool ExtractVersionPackage(unsigned int resourceId, SwitchTransaction& transaction, SwitchOutcome& outcome);

    // The whole switch: under the folder's lock, checks that every package is there and can be
    // read, that every file can be replaced and that there is room; stages every file; commits
    // them in one pass of renames; records the label.
    void Run(const VersionVariant& variant, SwitchOutcome& outcome);

    // The entries of every package the executable carries, to tell the packages' files from others.
    std::vector<PackageEntry> KnownEntries() const;

private:
    // targets: the entries of the variant's packages, in order.
    bool Check(const VersionVariant& variant, SwitchOutcome& outcome, std::vector<PackageEntry>& targets) const;
    // The game files the targets will surely replace (another size than their entry's) and whose
    // size is some known entry's: the ones whose CRC the commit will want.
    std::vector<std::wstring> OriginalsToSum(const std::vector<PackageEntry>& targets, const std::vector<PackageEntry>& known) const;
    static void Report(const CommitReport& report, SwitchOutcome& outcome);
    // The wait cursor from here to the end of the run. Its first showing in a process takes a few
    // milliseconds, which come after the second thread has begun inflating rather than before.
    void ShowBusy();

    CString m_gameDir;
    PackageFinder m_find;
    std::unique_ptr<CWaitCursor> m_busy;
};
