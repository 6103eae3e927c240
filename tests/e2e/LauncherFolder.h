#pragma once
#include "MessageBoxWindow.h"
#include "Process.h"
#include "TempFolder.h"
#include <string>

// A game folder holding a copy of the launcher, and the launcher running in it.
struct LauncherFolder {
    static constexpr const wchar_t* kTitle = L"Kelvadi2.0正式版 www.kelvadi.com";

    TempFolder folder;
    Process launcher;

    // Copies the launcher in, with a stand-in war3.exe and the given game.dll (none when empty).
    explicit LauncherFolder(const std::wstring& gameDll = L"versiondll\\v124.dll", bool withWar3 = true,
                            const std::wstring& launcherExe = L"vorelin.exe");
    std::wstring LauncherPath() const { return folder.PathOf(L"vorelin.exe"); }
    bool Start(const std::wstring& workingDir = std::wstring());
    // The launcher's dialog once it is up; empty when it does not come.
    Window WaitForDialog() const;
    // "BanBen" of "GameMain" in the folder's wargame.ini, read as the launcher reads it.
    std::wstring StoredVersion() const;
};

// The main dialog of a running launcher.
bool IsLauncherDialog(const Window& window);
