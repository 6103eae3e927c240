#pragma once
#include "framework/CString.h"
#include "switching/VersionSwitch.h"
#include <windows.h>
#include <vector>

// One message box of the dialog: its text, its caption (null: the application's name) and type.
struct SwitchNotice {
    CString text;
    const wchar_t* caption;
    UINT type;
};

// The boxes that tell what a switch left undone, in the order they are shown; none when the
// variant is fully in place. A switch that a file error ended tells only the missing packages
// it reached before.
std::vector<SwitchNotice> SwitchNotices(const SwitchOutcome& outcome);

// The confirmation of a switch whose files are all in place, with a line for the originals kept
// in the backup folder and one for a record that could not be written.
CString ConfirmationText(const VersionVariant& variant, const SwitchOutcome& outcome);
