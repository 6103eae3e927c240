#pragma once
#include "framework/CHandle.h"
#include <windows.h>
#include <deque>
#include <string>

// Puts staged files on the disk from a second thread while later ones are still being written,
// so that the commit's own flush, which alone counts, finds little left to do. A file it cannot
// flush is left to that flush.
class EarlyFlush {
public:
    EarlyFlush();
    ~EarlyFlush();
    EarlyFlush(const EarlyFlush&) = delete;
    EarlyFlush& operator=(const EarlyFlush&) = delete;

    // Queues a file; the thread starts with the first one. Without a thread the file waits for the commit.
    void Add(const std::wstring& path);
    // Returns once every queued file was tried and the thread has ended: nothing of it holds a file then.
    void Finish();

private:
    static DWORD WINAPI Run(void* self);
    bool Next(std::wstring& path);

    CRITICAL_SECTION m_lock;
    CHandle m_wake;
    CHandle m_thread;
    std::deque<std::wstring> m_queue;
    bool m_finishing = false;
};
