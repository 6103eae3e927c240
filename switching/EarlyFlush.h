#pragma once
#include "framework/CHandle.h"
#include "framework/CWorkerThread.h"
#include <windows.h>
#include <deque>
#include <set>
#include <string>

// Puts staged files on the disk from a second thread while later ones are still being written,
// so that the commit has only what it could not flush left to flush itself.
class EarlyFlush {
public:
    EarlyFlush();
    ~EarlyFlush();
    EarlyFlush(const EarlyFlush&) = delete;
    EarlyFlush& operator=(const EarlyFlush&) = delete;

    // Queues a file; the thread starts with the first one. Without a thread the file waits for the commit.
    void Add(const std::wstring& path);
    // Returns once every queued file was tried and the thread has stopped: nothing of it holds a file then.
    void Finish();
    // After Finish: whether the file was flushed since it was last queued.
    bool Flushed(const std::wstring& path);

private:
    void Run();
    bool Next(std::wstring& path);

    CRITICAL_SECTION m_lock;
    CHandle m_wake;
    std::deque<std::wstring> m_queue;
    std::set<std::wstring> m_flushed;
    bool m_finishing = false;
    // Last, so that it is waited for before anything it uses goes.
    CWorkerThread m_thread;
};
