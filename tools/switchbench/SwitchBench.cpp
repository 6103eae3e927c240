// Times a real 1.20E switch through the launcher's own extraction code against the floor:
// minizip's miniunz extracting the same package into a fresh folder, in the same run. Nine
// rounds alternate; medians are compared and their spread printed. The first round is this
// process's first switch, as a launcher's is, and is counted with the others.
// Run after `make test` (which makes the Wine prefix):
//     WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all wine build/switchbench.exe </dev/null >bench.txt 2>&1
#include "BuildFile.h"
#include "Process.h"
#include "Stopwatch.h"
#include "TempFolder.h"
#include "Timings.h"
#include "switching/FaultPoint.h"
#include "switching/InstalledVersion.h"
#include "switching/StoredVersion.h"
#include "switching/VersionSwitch.h"
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Where a switch's time goes: the named points it passes, as seconds since the switch began.
Stopwatch* g_phaseClock = nullptr;
double g_phases[3];
void AtPhase(const char* name)
{
    static const char* const kNames[] = {"staged", "flushed", "journal"};
    for (int i = 0; name && g_phaseClock && i < 3; ++i)
        if (std::strcmp(name, kNames[i]) == 0) g_phases[i] = g_phaseClock->Seconds();
}

// Runs the switch with its phases timed into the four timings; its whole time.
double TimedSwitch(const std::wstring& game, const VersionVariant& variant, SwitchOutcome& outcome, Timings* phases)
{
    Stopwatch clock;
    g_phaseClock = &clock;
    SetFaultHook(AtPhase);
    VersionSwitch(game.c_str()).Run(variant, outcome);
    double seconds = clock.Seconds();
    SetFaultHook(nullptr);
    g_phaseClock = nullptr;
    phases[0].Add(g_phases[0]);
    phases[1].Add(g_phases[1] - g_phases[0]);
    phases[2].Add(g_phases[2] - g_phases[1]);
    phases[3].Add(seconds - g_phases[2]);
    return seconds;
}

void PrintPhases(const char* what, const Timings* phases)
{
    std::printf("%s, medians: checks and staging %.0f ms, originals' CRC and flush %.0f ms, journal %.0f ms, "
                "renames, record and clean-up %.0f ms\n",
                what, phases[0].Median() * 1e3, phases[1].Median() * 1e3, phases[2].Median() * 1e3, phases[3].Median() * 1e3);
}

// miniunz from beside this program; seconds to its end, negative when it could not be started.
double RunMiniunz(const std::wstring& archive, const std::wstring& target)
{
    Stopwatch clock;
    std::wstring arguments = L"-x -o \"" + archive + L"\" -d \"" + target + L"\"";
    Process miniunz = Process::Start(TestExecutableFolder() + L"\\miniunz.exe", arguments, target, Process::Output::Discarded);
    if (!miniunz.WaitForExit(INFINITE)) return -1;
    return clock.Seconds();
}

} // namespace

int main(int argc, char** argv)
{
    // "switchbench identify <folder>": one identification of a folder laid out before, for a cold
    // page cache (dropped by the caller between the switch and this run).
    if (argc == 3 && std::string(argv[1]) == "identify") {
        std::wstring folder(argv[2], argv[2] + std::strlen(argv[2]));
        Stopwatch clock;
        bool whole = InstalledVersion(folder.c_str()).Matches(kVariant120E);
        double seconds = clock.Seconds();
        std::printf("identifying 1.20E from its files: %.2f ms%s\n", seconds * 1e3, whole ? "" : " (NOT whole!)");
        return 0;
    }
    const void* data = nullptr;
    unsigned long size = 0;
    if (!FindVersionPackage(IDR_PACKAGE_120E, &data, &size)) {
        std::printf("package 183 is not in this executable\n");
        return 1;
    }
    const int rounds = 9;
    Timings switches, floors, keptSwitches, firstPhases[4], backPhases[4];
    for (int round = 0; round < rounds; ++round) {
        TempFolder game;
        SwitchOutcome outcome;
        double seconds = TimedSwitch(game.Path(), kVariant120E, outcome, firstPhases);
        if (!outcome.Complete()) {
            std::printf("the switch failed\n");
            return 1;
        }
        switches.Add(seconds);
        // Back to 1.20E from 1.24E, which kept 1.20E's files: renames and a check of each file's CRC.
        SwitchOutcome away, back;
        VersionSwitch(game.Path().c_str()).Run(kVariant124E, away);
        double kept = TimedSwitch(game.Path(), kVariant120E, back, backPhases);
        if (!away.Complete() || !back.Complete()) {
            std::printf("the switch back failed: away stop %d, back stop %d\n", static_cast<int>(away.stop),
                        static_cast<int>(back.stop));
            return 1;
        }
        keptSwitches.Add(kept);
        if (round == 0) {
            // What start-up pays to confirm the recorded version from the files, against reading wargame.ini.
            Stopwatch identifying;
            bool whole = InstalledVersion(game.Path().c_str()).Matches(kVariant120E);
            double identified = identifying.Seconds();
            Stopwatch reading;
            ReadStoredVersion(game.Path().c_str());
            double read = reading.Seconds();
            std::printf("identifying 1.20E from its files (warm): %.2f ms%s, reading the record %.2f ms, ratio %.1f\n",
                        identified * 1e3, whole ? "" : " (NOT whole!)", read * 1e3, identified / read);
        }
        game.Remove();

        // The floor extracts the very package bytes, written out beforehand and not timed.
        TempFolder source;
        std::wstring archive = source.PathOf(L"183.zip");
        WriteWholeFile(archive, std::string(static_cast<const char*>(data), size));
        TempFolder target;
        double floor = RunMiniunz(archive, target.Path());
        if (floor < 0) {
            std::printf("miniunz could not be started\n");
            return 1;
        }
        floors.Add(floor);
        std::printf("round %d: switch %.3f s, back to kept 1.20E %.3f s, miniunz %.3f s, ratio %.3f\n", round + 1, seconds,
                    kept, floor, seconds / floor);
    }
    // What every start pays for finding that no switch was interrupted, against one look for a file.
    TempFolder quiet;
    const int looks = 2000;
    Stopwatch checking;
    for (int i = 0; i < looks; ++i) SwitchTransaction(quiet.Path().c_str()).Recover();
    double checked = checking.Seconds();
    Stopwatch looking;
    for (int i = 0; i < looks; ++i) GetFileAttributesW(quiet.PathOf(L"war3.exe").c_str());
    double looked = looking.Seconds();
    std::printf("start-up check with nothing pending: %.1f us, one file look-up %.1f us, ratio %.1f\n",
                checked * 1e6 / looks, looked * 1e6 / looks, checked / looked);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("switch %s\nminiunz %s\nratio of medians %.3f (target <= 0.75)\n", switches.Describe().c_str(),
                floors.Describe().c_str(), switches.Median() / floors.Median());
    PrintPhases("the switch", firstPhases);
    PrintPhases("the switch back", backPhases);
    std::printf("switch back to a kept version %s\nratio of medians to miniunz %.3f (target <= 0.25)\n",
                keptSwitches.Describe().c_str(), keptSwitches.Median() / floors.Median());
    std::printf("peak working set of the switch process: %.1f MB (package %lu bytes mapped as a resource)\n",
                memory.PeakWorkingSetSize / 1048576.0, size);
    return 0;
}
