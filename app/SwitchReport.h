#pragma once
#include "framework/CString.h"
#include "switching/InstalledVersion.h"
#include "switching/ReplayHeader.h"
#include "switching/VersionSwitch.h"
#include <windows.h>
#include <vector>

// One message box of the dialog: its text, its caption (null: the application's name) and type.
struct SwitchNotice {
    CString text;
    const wchar_t* caption;
    UINT type;
    bool offersElevation = false;  // Yes starts the launcher again as administrator
};

// The boxes that tell what a switch left undone, in the order they are shown; none when the
// variant is fully in place. A switch that a file error ended tells only the missing packages
// it reached before.
std::vector<SwitchNotice> SwitchNotices(const SwitchOutcome& outcome);

// The confirmation of a switch whose files are all in place, with a line for the originals kept
// in the backup folder and one for a record that could not be written.
CString ConfirmationText(const VersionVariant& variant, const SwitchOutcome& outcome);

// Files a scanner removed right after the switch wrote them, and what to do.
CString VanishedText(const std::vector<CString>& names);

// Start-up's word on a recorded version whose files are not all its own.
CString RepairText(const VersionVariant& recorded, const std::vector<DifferingFile>& differing);

// The question before removing VirtualStore copies, and the word on those that stayed.
CString VirtualStoreQuestion(const std::vector<std::wstring>& copies);
CString VirtualStoreLeftText(const std::vector<std::wstring>& left);

// Why war3.exe could not be started, from the shell's error code.
CString GameStartFailedText(const CString& path, int error);

// Start-up's word on an interrupted switch that could be neither finished nor undone; empty for any other result.
CString RecoveryText(RecoveryResult result);

// A replay that cannot be played, and why; empty for one that can (a version the launcher carries).
CString ReplayRefusalText(const ReplayHeader& replay, const CString& path);
// The installed files are no version the launcher could go back to after the replay.
CString UnknownVersionForReplayText(const VersionVariant& replayVersion);
CString ReplayTripUnwrittenText(DWORD error);
// The game could not be started on the replay; back: the version switched back to, if any.
CString ReplayNotStartedText(const CString& game, DWORD error, const VersionVariant* back);
// The window's line while the game plays: which replay, in which version, and what comes back after.
CString ReplayPlayingText(const CString& path, const VersionVariant& playing, const VersionVariant* back);
// Start-up's question after a launcher ended while its replay played.
CString EarlierTripQuestion(const VersionVariant& earlier, const CString& shownLabel);

extern const wchar_t kCheckCaption[];
extern const wchar_t kReplayCaption[];
extern const wchar_t kUnfinishedCaption[];
