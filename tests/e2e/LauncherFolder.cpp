#include "LauncherFolder.h"
#include "BuildFile.h"

const wchar_t kHomePage[] = L"" KELVADI_HOME_PAGE;
const wchar_t kTitle[] = L"Kelvadi2.0正式版 " KELVADI_HOME_HOST;

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
    return window.ClassName() == L"#32770" && window.Text() == kTitle;
}

Window LauncherFolder::WaitForDialog() const
{
    Window dialog = launcher.WaitForWindow(IsLauncherDialog);
    // The web panels come just after the window shows, and what a test sends comes after them.
    if (dialog) WaitUntil([&] { return dialog.Control(IDC_WEB_TOP) && dialog.Control(IDC_WEB_BOTTOM); });
    return dialog;
}

std::wstring LauncherFolder::StoredVersionIn(const TempFolder& folder)
{
    wchar_t value[260] = L"";
    GetPrivateProfileStringW(L"GameMain", L"BanBen", L"<none>", value, 260, folder.PathOf(L"wargame.ini").c_str());
    return value;
}

std::vector<StandInStart> StandInStarts(const TempFolder& folder)
{
    std::vector<StandInStart> starts;
    auto bytes = folder.Read(L"war3_ran.txt");
    if (!bytes || bytes->size() < 2) return starts;
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes->data() + 2), (bytes->size() - 2) / sizeof(wchar_t));
    const std::wstring directoryKey = L"WorkingDirectory=";
    const std::wstring commandKey = L"CommandLine=";
    const std::wstring gameDllKey = L"GameDll=";
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find(L"\r\n", at);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(at, end - at);
        if (line == L"war3.exe ran") starts.emplace_back();
        else if (!starts.empty() && line.compare(0, directoryKey.size(), directoryKey) == 0)
            starts.back().workingDirectory = line.substr(directoryKey.size());
        else if (!starts.empty() && line.compare(0, commandKey.size(), commandKey) == 0)
            starts.back().commandLine = line.substr(commandKey.size());
        else if (!starts.empty() && line.compare(0, gameDllKey.size(), gameDllKey) == 0)
            starts.back().gameDll = line.substr(gameDllKey.size());
        at = end + 2;
    }
    return starts;
}

ShellCommand::ShellCommand(const std::wstring& key, const std::wstring& command) : key_(key)
{
    wchar_t value[1024] = L"";
    LONG size = sizeof value;
    hadValue_ = RegQueryValueW(HKEY_CLASSES_ROOT, key_.c_str(), value, &size) == ERROR_SUCCESS;
    previous_ = value;
    set_ = Set(command);
}

ShellCommand::~ShellCommand()
{
    if (hadValue_) Set(previous_);
    else RegDeleteKeyW(HKEY_CLASSES_ROOT, key_.c_str());
}

bool ShellCommand::Set(const std::wstring& command) const
{
    return RegSetValueW(HKEY_CLASSES_ROOT, key_.c_str(), REG_SZ, command.c_str(),
                        static_cast<DWORD>(command.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}
