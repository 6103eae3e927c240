// What the user waits for, through the real window, against floors measured in the same run:
//  start-up: process start to the launcher's window shown, against an empty dialog of the same
//            template size and font (benchdialog.exe), and against the launcher's own template with
//            its controls but none of the launcher's work (templatedialog.exe);
//  switch:   the click on the 1.20E button of a freshly started launcher, once it has settled, to
//            the confirmation box: the first switch, as a user meets it; against miniunz extracting
//            the same package (its bare process start subtracted) plus the time the empty dialog
//            takes to show a message box.
// Rounds (at least 9) alternate between program and floor; medians are compared and the spread
// is printed. Run after `make test`:
//     sh tools/wine-run.sh build/launchbench.exe [rounds [start-up]]   (WINEPREFIX=build/wineprefix)
#include "MessageBoxWindow.h"
#include "Process.h"
#include "TempFolder.h"
#include "TestReplay.h"
#include "Timings.h"
#include "framework/ResourceData.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kSwitchButton = 1018;  // 1.20E, package 183
constexpr int kAwayButton = 1019;    // 1.24E, package 185

std::wstring g_build;

double Now()
{
    static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

// Once the window shows, a launcher still creates and navigates its panels; a user clicks a window
// that has settled, so the click waits until the process has used no processor time for 150 ms.
bool WaitUntilSettled(const Process& process)
{
    auto used = [&] {
        FILETIME created, exited, kernel, user;
        if (!GetProcessTimes(process.Handle(), &created, &exited, &kernel, &user)) return ~0ULL;
        return ((static_cast<unsigned long long>(kernel.dwHighDateTime) << 32) | kernel.dwLowDateTime) +
               ((static_cast<unsigned long long>(user.dwHighDateTime) << 32) | user.dwLowDateTime);
    };
    unsigned long long last = used();
    int quiet = 0;
    for (DWORD waited = 0; waited < 10000; waited += 10) {
        Sleep(10);
        unsigned long long now = used();
        quiet = now == last ? quiet + 1 : 0;
        last = now;
        if (quiet >= 15) return true;
    }
    return false;
}

// Polls every millisecond: the driver's usual 20 ms would blur the figures.
Window WaitForShown(const Process& process, const std::wstring& caption = std::wstring())
{
    Window found;
    WaitUntil([&] {
        for (const Window& window : process.TopLevelWindows())
            if (window.ClassName() == L"#32770" && (caption.empty() || window.Text(200) == caption)) {
                found = window;
                return true;
            }
        return false;
    }, 30000, 1);
    return found;
}

// A game folder with the launcher; the first start writes wargame.ini, as a user's first run does.
bool LayOutGame(const TempFolder& game, const std::wstring& launcher)
{
    return game.CopyIn(g_build + L"\\" + launcher, L"vorelin.exe") &&
           game.CopyIn(g_build + L"\\packages\\stand-ins\\war3.exe", L"war3.exe") &&
           game.CopyIn(g_build + L"\\versiondll\\v124.dll", L"game.dll");
}

// Seconds from process start to its dialog shown; negative when it never showed.
double TimeStartup(const std::wstring& exe, const std::wstring& folder)
{
    double start = Now();
    Process process = Process::Start(exe, L"", folder);
    if (!process.Started() || !WaitForShown(process)) return -1;
    double shown = Now() - start;
    process.Kill(0);
    return shown;
}

// miniunz with its output discarded, so that the console costs nothing.
double TimeMiniunz(const std::wstring& arguments, const std::wstring& folder)
{
    std::wstring command = L"\"" + g_build + L"\\miniunz.exe\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE null = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = null;
    PROCESS_INFORMATION process{};
    double start = Now();
    bool started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                                  &startup, &process) != FALSE;
    if (started) {
        WaitForSingleObject(process.hProcess, 60000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    double elapsed = Now() - start;
    if (null != INVALID_HANDLE_VALUE) CloseHandle(null);
    return started ? elapsed : -1;
}

// Click to confirmation box in a running program whose dialog answers command 1018 with a box.
double TimeClickToBox(const Process& process, bool throughButton)
{
    Window dialog = WaitForShown(process);
    if (!dialog || !process.WaitForInputIdle(10000) || !WaitUntilSettled(process)) return -1;
    double start = Now();
    bool sent = throughButton ? dialog.Control(kSwitchButton).Click() : dialog.Command(kSwitchButton);
    if (!sent) return -1;
    Window box = WaitForShown(process, L"版本转换成功提示");
    if (!box) return -1;
    double shown = Now() - start;
    return shown;
}

// Answers the confirmation box on screen.
bool Confirm(const Process& process)
{
    Window box = WaitForShown(process, L"版本转换成功提示");
    if (!box) return false;
    MessageBoxWindow(box).Press(IDOK);
    return process.WaitForNoWindow([](const Window& w) { return w.Text(200) == L"版本转换成功提示"; });
}

bool ClickAndConfirm(const Process& process, int button)
{
    Window dialog = WaitForShown(process);
    return dialog && dialog.Control(button).Click() && Confirm(process);
}

bool WritePackage(const std::wstring& path)
{
    HMODULE image = LoadLibraryExW((g_build + L"\\vorelin.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    unsigned long size = 0;
    const void* data = image ? LoadResourceData(image, MAKEINTRESOURCEW(183), L"ZIP", &size) : nullptr;
    bool ok = data && WriteWholeFile(path, std::string(static_cast<const char*>(data), size));
    if (image) FreeLibrary(image);
    return ok;
}

void Report(const char* what, const Timings& program, const Timings& floor, double target)
{
    double f = floor.Median();
    std::printf("%s: launcher %s\n  floor %s\n  ratio of medians %.2f (target <= %.2f)\n", what,
                program.Describe().c_str(), floor.Describe().c_str(), f > 0 ? program.Median() / f : 0, target);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    int rounds = argc > 1 ? std::max(9, _wtoi(argv[1])) : 9;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    g_build = self;
    g_build = g_build.substr(0, g_build.rfind(L'\\'));

    TempFolder game, partial, source;
    if (!LayOutGame(game, L"vorelin.exe") || !LayOutGame(partial, L"vorelin_partial.exe") ||
        !WritePackage(source.PathOf(L"183.zip"))) {
        std::printf("cannot lay out the game folders: run after the build\n");
        return 1;
    }

    Timings launcher, alone, dialog, controls;
    for (int round = 0; round < rounds; ++round) {
        double a = TimeStartup(game.PathOf(L"vorelin.exe"), game.Path());
        double b = TimeStartup(g_build + L"\\benchdialog.exe", game.Path());
        double c = TimeStartup(partial.PathOf(L"vorelin.exe"), partial.Path());
        double d = TimeStartup(g_build + L"\\templatedialog.exe", game.Path());
        if (a < 0 || b < 0 || c < 0 || d < 0) { std::printf("a window did not show\n"); return 1; }
        launcher.Add(a); dialog.Add(b); alone.Add(c); controls.Add(d);
    }
    Report("start-up", launcher, dialog, 1.3);
    // What of the gap the launcher's own work makes: its template's controls cost the same in any program.
    std::printf("  the launcher's template alone, with its controls and manifest: %s; launcher / template %.2f\n",
                controls.Describe().c_str(), controls.Median() > 0 ? launcher.Median() / controls.Median() : 0);
    std::printf("  (the launcher carrying package 183 alone: %s)\n", alone.Describe().c_str());
    if (argc > 2 && std::wstring(argv[2]) == L"start-up") return 0;

    Timings switches, floors;
    for (int round = 0; round < rounds; ++round) {
        TempFolder switched;
        if (!LayOutGame(switched, L"vorelin.exe")) return 1;
        double s = -1;
        {
            Process process = Process::Start(switched.PathOf(L"vorelin.exe"), L"", switched.Path());
            s = TimeClickToBox(process, true);
            if (s < 0) { std::printf("the switch gave no confirmation\n%ls\n", process.Describe().c_str()); return 1; }
            switches.Add(s);
        }
        TempFolder extracted;
        double bare = TimeMiniunz(L"", extracted.Path());
        double full = TimeMiniunz(L"-x -o \"" + source.PathOf(L"183.zip") + L"\" -d \"" + extracted.Path() + L"\"",
                                  extracted.Path());
        Process floorDialog = Process::Start(g_build + L"\\benchdialog.exe");
        double box = TimeClickToBox(floorDialog, false);
        if (bare < 0 || full < 0 || box < 0) { std::printf("the floor could not be measured\n"); return 1; }
        floors.Add(full - bare + box);
        std::printf("  round %d: switch %.0f ms; miniunz %.0f ms less %.0f ms bare start, box %.0f ms\n", round + 1,
                    s * 1000, full * 1000, bare * 1000, box * 1000);
    }
    Report("switch", switches, floors, 0.85);

    // The switch back: 1.20E, then 1.24E, then 1.20E again, whose files the launcher kept.
    Timings backs;
    for (int round = 0; round < rounds; ++round) {
        TempFolder switched;
        if (!LayOutGame(switched, L"vorelin.exe")) return 1;
        Process process = Process::Start(switched.PathOf(L"vorelin.exe"), L"", switched.Path());
        bool ready = TimeClickToBox(process, true) >= 0 && Confirm(process) && ClickAndConfirm(process, kAwayButton);
        double back = ready ? TimeClickToBox(process, true) : -1;
        if (back < 0) { std::printf("the switch back gave no confirmation\n%ls\n", process.Describe().c_str()); return 1; }
        backs.Add(back);
    }
    Report("switch back to a kept version", backs, floors, 0.25);

    Timings replays, byHand;
    for (int round = 0; round < rounds; ++round) {
        TempFolder played;
        if (!LayOutGame(played, L"vorelin.exe") || !played.Write(L"one.w3g", ReplayOfVersion(24))) return 1;
        {
            Process process = Process::Start(played.PathOf(L"vorelin.exe"), L"", played.Path());
            if (TimeClickToBox(process, true) < 0) return 1;
            process.Kill(0);
        }
        double start = Now();
        Process process = Process::Start(played.PathOf(L"vorelin.exe"), L"\"" + played.PathOf(L"one.w3g") + L"\"", played.Path());
        if (!WaitUntil([&] { return played.Exists(L"war3_ran.txt"); }, 60000, 1)) {
            std::printf("the game did not start on the replay\n%ls\n", process.Describe().c_str());
            return 1;
        }
        replays.Add(Now() - start);
        process.WaitForExit(60000);
    }
    Timings manual;
    manual.Add(launcher.Median() + switches.Median());
    Report("replay, double-click to the game's start", replays, manual, 1.0);
    return 0;
}
