// Extraction speed and memory of the zip reader against minizip's own miniunz, same archive, same run.
// Build with `make build`, then run from the repository folder (after `make test` made the prefix):
//   WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all wine build/zipbench.exe </dev/null >bench.txt 2>&1
// Optional arguments: the number of rounds (default 9) and the path of miniunz.exe (default: beside
// this program). It makes its own 36 MB archive of seven entries in a temporary folder and removes it.
#include "PackageTable.h"
#include "Process.h"
#include "Stopwatch.h"
#include "TempFolder.h"
#include "TestArchive.h"
#include "Utf8.h"
#include "zip/ZipArchive.h"
#include <windows.h>
#include <psapi.h>
#include <zip.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The entries of the largest version package, 183.
const std::vector<PackageEntry>& kEntries = PackageTable().front().entries;

// Skewed bytes with some repeats: deflate codes them with Huffman tables to about 76%.
std::string GameLikeData(size_t size, unsigned int seed)
{
    std::string out;
    out.reserve(size + 128);
    unsigned int state = seed;
    auto next = [&state]() { state = state * 1103515245u + 12345u; return state >> 8; };
    while (out.size() < size) {
        unsigned int r = next();
        size_t length = 16 + (r & 63);
        if ((r >> 6) % 100 < 22 && out.size() > 1024) {
            size_t span = out.size() > length ? out.size() - length : 1;
            size_t back = 1 + next() % std::min<size_t>(span, 30000);
            size_t start = out.size() - back;
            for (size_t k = 0; k < length; ++k) out += out[start + k];
        } else {
            for (size_t k = 0; k < length; ++k) {
                double u = next() / 16777216.0;
                int value = static_cast<int>(256 * u * u);
                out += static_cast<char>(value > 255 ? 255 : value);
            }
        }
    }
    out.resize(size);
    return out;
}

bool WriteArchive(const std::wstring& path, double scale, unsigned long long& plain)
{
    zipFile zip = zipOpen64(Ansi(path).c_str(), APPEND_STATUS_CREATE);
    if (!zip) return false;
    bool ok = true;
    plain = 0;
    unsigned int seed = 1;
    for (const auto& entry : kEntries) {
        std::string data = GameLikeData(static_cast<size_t>(entry.size * scale), seed++);
        plain += data.size();
        zip_fileinfo info{};
        info.tmz_date.tm_year = 2014;
        info.tmz_date.tm_mon = 3;
        info.tmz_date.tm_mday = 20;
        info.tmz_date.tm_hour = 17;
        info.tmz_date.tm_min = 31;
        info.tmz_date.tm_sec = 34;
        info.external_fa = FILE_ATTRIBUTE_ARCHIVE;
        ok = ok && zipOpenNewFileInZip(zip, entry.name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

// Runs a program to its end with its output discarded; its peak working set if the system tells it.
bool RunProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder, double& seconds,
                SIZE_T& peak, DWORD& status)
{
    Stopwatch clock;
    Process process = Process::Start(exe, arguments, folder, Process::Output::Discarded);
    std::optional<DWORD> exit = process.WaitForExit(INFINITE);
    seconds = clock.Seconds();
    if (!exit) return false;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    peak = GetProcessMemoryInfo(process.Handle(), &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
    status = *exit;
    return true;
}

// The child side: extracts every entry the way the launcher does; the exit status counts failures,
// and the peak working set goes to a file because a child's counters are not always readable.
int ExtractMode(const wchar_t* archive, const wchar_t* folder, const wchar_t* report)
{
    ZipHandle zip = ZipOpen(archive);
    ZipSetBaseDir(zip, folder);
    int failures = zip ? 0 : 1;
    for (DWORD result : ExtractAll(zip)) failures += result != ZIPRES_OK;
    ZipClose(zip);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    WriteWholeFile(report, std::to_string(counters.PeakWorkingSetSize));
    return failures;
}

SIZE_T ReadReport(const std::wstring& path)
{
    return static_cast<SIZE_T>(strtoul(ReadWholeFile(path).value_or("0").c_str(), nullptr, 10));
}

unsigned long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool SameFiles(const std::wstring& a, const std::wstring& b)
{
    for (const auto& entry : kEntries) {
        std::string name = entry.name;
        std::wstring wide(name.begin(), name.end());
        if (FileSize(a + L"\\" + wide) != entry.size || FileSize(b + L"\\" + wide) != entry.size) return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 5 && std::wstring(argv[1]) == L"--extract") return ExtractMode(argv[2], argv[3], argv[4]);

    int rounds = argc > 1 ? _wtoi(argv[1]) : 9;
    if (rounds < 1) rounds = 1;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring selfPath = self;
    std::wstring miniunz = argc > 2 ? std::wstring(argv[2]) : selfPath.substr(0, selfPath.find_last_of(L"\\/") + 1) + L"miniunz.exe";
    if (GetFileAttributesW(miniunz.c_str()) == INVALID_FILE_ATTRIBUTES) {
        printf("miniunz not found: %ls\n", miniunz.c_str());
        return 2;
    }

    TempFolder workFolder;
    const std::wstring& work = workFolder.Path();
    std::wstring big = work + L"\\big.zip", small = work + L"\\small.zip";
    std::wstring report = work + L"\\peak.txt";

    unsigned long long plain = 0, smallPlain = 0;
    if (!WriteArchive(big, 1.0, plain) || !WriteArchive(small, 0.05, smallPlain)) {
        printf("could not write the archives in %ls\n", work.c_str());
        return 2;
    }
    unsigned long long packed = FileSize(big);
    printf("archive: 7 entries, %llu bytes packed, %llu unpacked, ratio %.3f\n", packed, plain, double(packed) / double(plain));
    fflush(stdout);

    std::vector<double> ratios;
    double ourBest = 1e9, theirBest = 1e9;
    SIZE_T ourPeak = 0, theirPeak = 0, ourPeakSeen = 0;
    bool allGood = true;
    for (int round = 0; round < rounds; ++round) {
        double ourTime = 0, theirTime = 0;
        SIZE_T childPeak = 0, miniunzPeak = 0;
        DWORD ourStatus = 1, theirStatus = 1;
        TempFolder ours(work), theirs(work);
        // Alternate the order so that neither always runs with the warmer cache.
        for (int pass = 0; pass < 2; ++pass) {
            bool readerTurn = (pass == 0) == (round % 2 == 0);
            if (readerTurn) {
                std::wstring arguments = L"--extract \"" + big + L"\" \"" + ours.Path() + L"\" \"" + report + L"\"";
                SIZE_T seen = 0;
                if (!RunProcess(selfPath, arguments, work, ourTime, seen, ourStatus)) ourStatus = 1;
                ourPeakSeen = std::max(ourPeakSeen, seen);
                childPeak = ReadReport(report);
            } else {
                if (!RunProcess(miniunz, L"-o \"" + big + L"\"", theirs.Path(), theirTime, miniunzPeak, theirStatus)) theirStatus = 1;
            }
        }
        bool good = ourStatus == 0 && theirStatus == 0 && SameFiles(ours.Path(), theirs.Path());
        allGood = allGood && good;
        ratios.push_back(ourTime / theirTime);
        ourBest = std::min(ourBest, ourTime);
        theirBest = std::min(theirBest, theirTime);
        ourPeak = std::max(ourPeak, childPeak);
        theirPeak = std::max(theirPeak, miniunzPeak);
        printf("round %d: reader %.3f s, miniunz %.3f s, ratio %.3f%s\n", round + 1, ourTime, theirTime, ourTime / theirTime,
               good ? "" : " (EXTRACTION DIFFERS OR FAILED)");
        fflush(stdout);
    }
    std::sort(ratios.begin(), ratios.end());
    printf("median ratio reader/miniunz: %.3f; best times %.3f s and %.3f s, ratio %.3f (target at most 1.05)\n",
           ratios[ratios.size() / 2], ourBest, theirBest, ourBest / theirBest);

    // The same extraction of an archive a twentieth the size: the peak must not follow the entries' sizes.
    TempFolder ours(work);
    double smallTime = 0;
    SIZE_T unused = 0;
    DWORD smallStatus = 1;
    std::wstring arguments = L"--extract \"" + small + L"\" \"" + ours.Path() + L"\" \"" + report + L"\"";
    RunProcess(selfPath, arguments, work, smallTime, unused, smallStatus);
    SIZE_T smallPeak = ReadReport(report);
    // And of nothing at all: what the program costs before any archive is read.
    arguments = L"--extract \"" + work + L"\\none.zip\" \"" + ours.Path() + L"\" \"" + report + L"\"";
    DWORD idleStatus = 0;
    double idleTime = 0;
    RunProcess(selfPath, arguments, work, idleTime, unused, idleStatus);
    SIZE_T idlePeak = ReadReport(report);
    // The child's own figure is always there; the one read through the process handle (0 when the
    // system would not tell it) is measured the same way for both programs.
    printf("peak working set: reader %lu KB on %llu bytes unpacked, %lu KB on %llu bytes, %lu KB with no archive (own figures); "
           "from outside: reader %lu KB, miniunz %lu KB\n",
           static_cast<unsigned long>(ourPeak / 1024), plain, static_cast<unsigned long>(smallPeak / 1024), smallPlain, static_cast<unsigned long>(idlePeak / 1024),
           static_cast<unsigned long>(ourPeakSeen / 1024), static_cast<unsigned long>(theirPeak / 1024));
    return allGood && smallStatus == 0 ? 0 : 1;
}
