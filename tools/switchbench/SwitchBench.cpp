// Times a real 1.20E switch through the launcher's own extraction code against the floor:
// minizip's miniunz extracting the same package into a fresh folder, in the same run. Nine
// rounds alternate; medians are compared and their spread printed. The first round is this
// process's first switch, as a launcher's is, and is counted with the others.
// Run after `make test` (which makes the Wine prefix):
//     WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all wine build/switchbench.exe </dev/null >bench.txt 2>&1
#include "TempFolder.h"
#include "Timings.h"
#include "switching/InstalledVersion.h"
#include "switching/StoredVersion.h"
#include "framework/CHandle.h"
#include "switching/VersionSwitch.h"
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

std::wstring FreshFolder(const wchar_t* name)
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring path = std::wstring(base) + name + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

std::wstring ExeFolder()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\'));
}

double RunMiniunz(const std::wstring& archive, const std::wstring& target)
{
    std::wstring command = L"\"" + ExeFolder() + L"\\miniunz.exe\" -x -o \"" + archive + L"\" -d \"" + target + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    CHandle null(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    startup.hStdOutput = startup.hStdError = null;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, target.c_str(), &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Seconds(start, end);
}

} // namespace

int main(int argc, char** argv)
{
    // "switchbench identify <folder>": one identification of a folder laid out before, for a cold
    // page cache (dropped by the caller between the switch and this run).
    if (argc == 3 && std::string(argv[1]) == "identify") {
        std::wstring folder(argv[2], argv[2] + std::strlen(argv[2]));
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        bool whole = InstalledVersion(folder.c_str()).Matches(kVariant120E);
        QueryPerformanceCounter(&b);
        std::printf("identifying 1.20E from its files: %.2f ms%s\n", Seconds(a, b) * 1e3, whole ? "" : " (NOT whole!)");
        return 0;
    }
    const void* data = nullptr;
    unsigned long size = 0;
    if (!FindVersionPackage(IDR_PACKAGE_120E, &data, &size)) {
        std::printf("package 183 is not in this executable\n");
        return 1;
    }
    const int rounds = 9;
    Timings switches, floors;
    for (int round = 0; round < rounds; ++round) {
        std::wstring game = FreshFolder(L"switchbench_game");
        SwitchOutcome outcome;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        VersionSwitch(game.c_str()).Run(kVariant120E, outcome);
        QueryPerformanceCounter(&end);
        if (!outcome.Complete()) {
            std::printf("the switch failed\n");
            return 1;
        }
        double seconds = Seconds(start, end);
        switches.Add(seconds);
        if (round == 0) {
            // What start-up pays to confirm the recorded version from the files, against reading wargame.ini.
            LARGE_INTEGER a, b, c;
            QueryPerformanceCounter(&a);
            bool whole = InstalledVersion(game.c_str()).Matches(kVariant120E);
            QueryPerformanceCounter(&b);
            ReadStoredVersion(game.c_str());
            QueryPerformanceCounter(&c);
            std::printf("identifying 1.20E from its files (warm): %.2f ms%s, reading the record %.2f ms, ratio %.1f\n",
                        Seconds(a, b) * 1e3, whole ? "" : " (NOT whole!)", Seconds(b, c) * 1e3, Seconds(a, b) / Seconds(b, c));
        }
        RemoveTree(game);

        // The floor extracts the very package bytes, written out beforehand and not timed.
        std::wstring source = FreshFolder(L"switchbench_src");
        std::wstring archive = source + L"\\183.zip";
        WriteWholeFile(archive, std::string(static_cast<const char*>(data), size));
        std::wstring target = FreshFolder(L"switchbench_floor");
        double floor = RunMiniunz(archive, target);
        if (floor < 0) {
            std::printf("miniunz could not be started\n");
            return 1;
        }
        floors.Add(floor);
        RemoveTree(target);
        RemoveTree(source);
        std::printf("round %d: switch %.3f s, miniunz %.3f s, ratio %.3f\n", round + 1, seconds, floor, seconds / floor);
    }
    // What every start pays for finding that no switch was interrupted, against one look for a file.
    std::wstring quiet = FreshFolder(L"switchbench_quiet");
    const int looks = 2000;
    LARGE_INTEGER start, middle, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < looks; ++i) SwitchTransaction(quiet.c_str()).Recover();
    QueryPerformanceCounter(&middle);
    for (int i = 0; i < looks; ++i) GetFileAttributesW((quiet + L"\\war3.exe").c_str());
    QueryPerformanceCounter(&end);
    RemoveTree(quiet);
    std::printf("start-up check with nothing pending: %.1f us, one file look-up %.1f us, ratio %.1f\n",
                Seconds(start, middle) * 1e6 / looks, Seconds(middle, end) * 1e6 / looks,
                Seconds(start, middle) / Seconds(middle, end));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("switch %s\nminiunz %s\nratio of medians %.3f (target <= 0.75)\n", switches.Describe().c_str(),
                floors.Describe().c_str(), switches.Median() / floors.Median());
    std::printf("peak working set of the switch process: %.1f MB (package %lu bytes mapped as a resource)\n",
                memory.PeakWorkingSetSize / 1048576.0, size);
    return 0;
}
