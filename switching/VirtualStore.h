#pragma once
#include "framework/CString.h"
#include "switching/PackageListing.h"
#include <string>
#include <vector>

// Windows gives programs without a manifest, such as the game, a private copy of every file they
// once wrote under a protected folder, in the user's VirtualStore, and reads that copy first.
// Copies of the game's files there hide whatever a switch writes.

// The VirtualStore folder that shadows the game folder; empty before Vista, where there is none,
// and for folders not on a drive.
std::wstring VirtualStoreFolder(const CString& gameDir);

// The copies there of the packages' files, as full paths, each once.
std::vector<std::wstring> FindVirtualStoreCopies(const CString& gameDir, const std::vector<PackageEntry>& known);

// Removes the copies, to the recycle bin where the shell offers it; returns those still there.
std::vector<std::wstring> RemoveVirtualStoreCopies(const std::vector<std::wstring>& paths);
