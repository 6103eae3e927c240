#pragma once
#include "framework/CWorkerThread.h"
#include "switching/FileStamps.h"
#include <windows.h>
#include <string>
#include <vector>

// The CRCs of the game files a switch is about to set aside, summed on a second thread while it
// stages the new ones. A file whose size or time has changed since is summed again when asked; one
// whose stamp says what it holds is not summed at all.
class OriginalSums {
public:
    OriginalSums() = default;
    ~OriginalSums();
    OriginalSums(const OriginalSums&) = delete;
    OriginalSums& operator=(const OriginalSums&) = delete;

    // Starts summing the files (full paths) that stamps do not know; without a thread, each is
    // summed when asked for.
    void Start(const std::vector<std::wstring>& paths, FileStamps* stamps = nullptr);
    // The file's CRC and size as it is now; false when it cannot be read.
    bool Crc(const std::wstring& path, DWORD* crc, unsigned long long* size);

private:
    struct Sum {
        std::wstring path;
        unsigned long long size = 0;
        FILETIME modified{};
        DWORD crc = 0;
        bool summed = false;
    };
    void Run();
    void Wait();

    std::vector<Sum> m_sums;
    FileStamps* m_stamps = nullptr;
    // Last, so that it is waited for before anything it uses goes.
    CWorkerThread m_thread;
};
