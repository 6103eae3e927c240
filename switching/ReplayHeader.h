#pragma once
#include "framework/CString.h"

// What a replay file's header says about whether, and in which version, it can be played.
enum class ReplayReading {
    Ok,            // a Frozen Throne replay; the version field says which patch recorded it
    Missing,       // no such file, or it cannot be opened or read
    Empty,         // a file of no bytes
    NotReplay,     // no replay signature where a replay could start
    Truncated,     // the file ends inside the header or before the end the header announces
    Damaged,       // the header contradicts itself or the format
    ReignOfChaos,  // recorded by the game without its expansion, which the packages do not hold
};

struct ReplayHeader {
    ReplayReading reading = ReplayReading::Missing;
    unsigned int version = 0;       // the patch's minor number: 20, 24, 26 for 1.20, 1.24, 1.26
    unsigned int build = 0;         // 6052 for 1.20; 6059 for all of 1.24 to 1.28
    unsigned long lengthMs = 0;
    unsigned long long offset = 0;  // where the replay starts: 0, or after a wrapper's own bytes
    bool crcMatches = false;        // a detail only: a mismatch does not refuse the replay
};

// Reads and checks the header of the replay at path (a full path), and nothing after it.
// version, build and lengthMs are set for Ok and ReignOfChaos; offset once the signature is found.
ReplayHeader ReadReplayHeader(const CString& path);
