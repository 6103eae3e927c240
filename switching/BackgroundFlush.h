#pragma once
#include <windows.h>
#include <map>
#include <string>
#include <vector>

// Puts staged files on the disk from a thread of its own while the next entries are extracted,
// so that the disk writes one file while the processor inflates the next, and the commit waits
// only for what is left. Only a speed-up: a file it could not flush is flushed again by the caller.
class BackgroundFlush {
public:
    BackgroundFlush() = default;
    ~BackgroundFlush();
    BackgroundFlush(const BackgroundFlush&) = delete;
    BackgroundFlush& operator=(const BackgroundFlush&) = delete;

    // Queues the file; starts the thread at the first one. Without a thread, nothing happens.
    void Add(const std::wstring& path);
    // Waits until every queued file is flushed; then each file's result (0: on the disk), by path,
    // the latest for a file queued twice.
    std::map<std::wstring, DWORD> Wait();

private:
    static DWORD WINAPI Run(void* self);
    void Work();

    CRITICAL_SECTION m_lock;
    HANDLE m_thread = nullptr;
    HANDLE m_queued = nullptr;  // signalled while files wait
    HANDLE m_idle = nullptr;    // signalled while the thread has nothing in hand
    std::vector<std::wstring> m_queue;
    std::map<std::wstring, DWORD> m_results;
    bool m_stopping = false;
    bool m_ended = false;  // the thread ended early: the caller flushes what is left
};
