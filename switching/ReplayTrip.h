#pragma once
#include "framework/CString.h"
#include "switching/GameFolder.h"
#include <windows.h>

// A replay's round trip in progress: the version to go back to when the game ends. Kept in the
// game folder while the game runs, so that a launcher ended meanwhile leaves word for its next
// start; the copy of the replay made for the game, if one was, goes with it.
struct ReplayTrip {
    static const wchar_t kRecord[];
    static const wchar_t kCopy[];  // the copy's name, relative to the game folder

    CString earlier;  // the label of the version installed before

    // 0, or the system's reason it could not be written.
    DWORD Write(const GameFolder& folder) const;
    // False when there is no record, or none this launcher wrote.
    bool Read(const GameFolder& folder);
    // The record and the copy go; true when neither is left.
    static bool Remove(const GameFolder& folder);
};

// The path the game is given for a replay: the replay's own, when the file is a replay from its
// first byte and the system's ANSI code page spells its path (the game is an ANSI program); else
// a copy in the game folder under ReplayTrip::kCopy. 0, or the system's reason the copy failed.
DWORD ReplayPathForGame(const GameFolder& folder, const CString& path, unsigned long long offset, CString& forGame);
