#pragma once
#include "MessageBoxWindow.h"
#include "Process.h"
#include "TempFolder.h"
#include "res/resource.h"
#include <string>
#include <vector>

// The build's settings, as the launcher under test was built with them.
extern const wchar_t kHomePage[];
extern const wchar_t kTitle[];

// A game folder holding a copy of the launcher, and the launcher running in it.
struct LauncherFolder {
    TempFolder folder;
    Process launcher;

    // Copies the launcher in, with a stand-in war3.exe and the given game.dll (none when empty).
    explicit LauncherFolder(const std::wstring& gameDll = L"versiondll\\v124.dll", bool withWar3 = true,
                            const std::wstring& launcherExe = L"vorelin.exe");
    std::wstring LauncherPath() const { return folder.PathOf(L"vorelin.exe"); }
    bool Start(const std::wstring& workingDir = std::wstring());
    // The launcher's dialog once it is up with its web panels; empty when it does not come.
    Window WaitForDialog() const;
    // "BanBen" of "GameMain" in the folder's wargame.ini, read as the launcher reads it.
    std::wstring StoredVersion() const { return StoredVersionIn(folder); }
    static std::wstring StoredVersionIn(const TempFolder& folder);
};

// A game folder with the launcher up and its dialog found.
struct RunningLauncher : LauncherFolder {
    Window dialog;
    explicit RunningLauncher(const std::wstring& gameDll = L"versiondll\\v124.dll",
                             const std::wstring& launcherExe = L"vorelin.exe")
        : LauncherFolder(gameDll, true, launcherExe)
    {
        if (Start()) dialog = WaitForDialog();
    }
    std::wstring Label() const { return dialog.Control(IDC_ST_VERSION).Text(); }
};

// The main dialog of a running launcher.
bool IsLauncherDialog(const Window& window);

// One start of the recording stand-in (packages/stand-ins/war3.exe), as it noted it in the
// war3_ran.txt beside itself.
struct StandInStart {
    std::wstring workingDirectory;
    std::wstring commandLine;
    std::wstring gameDll;  // the file version of the game.dll it found beside itself
};
std::vector<StandInStart> StandInStarts(const TempFolder& folder);

// A shell command of the prefix's registry (such as a scheme's or a file type's verb) replaced by
// a test's for its lifetime.
class ShellCommand {
public:
    ShellCommand(const std::wstring& key, const std::wstring& command);
    ~ShellCommand();
    ShellCommand(const ShellCommand&) = delete;
    ShellCommand& operator=(const ShellCommand&) = delete;
    bool IsSet() const { return set_; }

private:
    bool Set(const std::wstring& command) const;

    std::wstring key_;
    std::wstring previous_;
    bool hadValue_ = false;
    bool set_ = false;
};
