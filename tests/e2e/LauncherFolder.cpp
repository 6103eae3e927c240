#include "LauncherFolder.h"
#include "BuildFile.h"

LauncherFolder::LauncherFolder(const std::wstring& gameDll, bool withWar3, const std::wstring& launcherExe)
{
    folder.CopyIn(BuildFile(launcherExe), L"vorelin.exe");
    if (withWar3) folder.CopyIn(BuildFile(L"tests\\driver_target.exe"), L"war3.exe");
    if (!gameDll.empty()) folder.CopyIn(BuildFile(gameDll), L"game.dll");
}

bool LauncherFolder::Start(const std::wstring& workingDir)
{
    launcher = Process::Start(LauncherPath(), std::wstring(), workingDir.empty() ? folder.Path() : workingDir);
    return launcher.Started();
}

bool IsLauncherDialog(const Window& window)
{
    return window.ClassName() == L"#32770" && window.Text() == LauncherFolder::kTitle;
}

Window LauncherFolder::WaitForDialog() const
{
    return launcher.WaitForWindow(IsLauncherDialog);
}

std::wstring LauncherFolder::StoredVersion() const
{
    wchar_t value[260] = L"";
    GetPrivateProfileStringW(L"GameMain", L"BanBen", L"<none>", value, 260, folder.PathOf(L"wargame.ini").c_str());
    return value;
}
