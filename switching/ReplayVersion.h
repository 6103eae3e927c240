#pragma once
#include "framework/CString.h"
#include "switching/VersionVariant.h"

// Which of the launcher's variants plays a replay, from the version field of its header. A
// replay plays only in the patch that recorded it; the header cannot tell the +4M and +8M
// additions from their base, and they play their base's replays.

// The variant without additions for replays of this version; null for a version not carried.
const VersionVariant* ReplayBaseVariant(unsigned int version);

// Whether the installed variant plays replays of this version with nothing switched.
bool PlaysReplaysOf(const VersionVariant& installed, unsigned int version);

// The patch's name for a version field: "1.27" for 27, "1.07" for 7.
CString ReplayVersionText(unsigned int version);
