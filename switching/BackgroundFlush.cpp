#include "switching/BackgroundFlush.h"
#include "switching/DurableFile.h"

BackgroundFlush::~BackgroundFlush()
{
    if (!m_thread) return;
    EnterCriticalSection(&m_lock);
    m_stopping = true;
    SetEvent(m_queued);
    LeaveCriticalSection(&m_lock);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    CloseHandle(m_queued);
    CloseHandle(m_idle);
    DeleteCriticalSection(&m_lock);
}

void BackgroundFlush::Add(const std::wstring& path)
{
    if (!m_thread) {
        InitializeCriticalSection(&m_lock);
        m_queued = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_idle = CreateEventW(nullptr, TRUE, TRUE, nullptr);
        m_thread = m_queued && m_idle ? CreateThread(nullptr, 0, Run, this, 0, nullptr) : nullptr;
        if (!m_thread) {
            // No thread: the commit flushes every file itself, as it would without this.
            if (m_queued) CloseHandle(m_queued);
            if (m_idle) CloseHandle(m_idle);
            DeleteCriticalSection(&m_lock);
            return;
        }
    }
    EnterCriticalSection(&m_lock);
    if (m_ended) {
        LeaveCriticalSection(&m_lock);
        return;
    }
    m_queue.push_back(path);
    ResetEvent(m_idle);
    SetEvent(m_queued);
    LeaveCriticalSection(&m_lock);
}

std::map<std::wstring, DWORD> BackgroundFlush::Wait()
{
    if (!m_thread) return {};
    WaitForSingleObject(m_idle, INFINITE);
    EnterCriticalSection(&m_lock);
    std::map<std::wstring, DWORD> results = m_results;
    LeaveCriticalSection(&m_lock);
    return results;
}

DWORD WINAPI BackgroundFlush::Run(void* self)
{
    BackgroundFlush* flush = static_cast<BackgroundFlush*>(self);
    // Nothing may leave a thread's start routine by an exception; a waiting commit must still go on.
    try {
        flush->Work();
    } catch (...) {
        EnterCriticalSection(&flush->m_lock);
        flush->m_ended = true;
        SetEvent(flush->m_idle);
        LeaveCriticalSection(&flush->m_lock);
    }
    return 0;
}

void BackgroundFlush::Work()
{
    for (;;) {
        WaitForSingleObject(m_queued, INFINITE);
        EnterCriticalSection(&m_lock);
        if (m_stopping) {
            LeaveCriticalSection(&m_lock);
            return;
        }
        std::vector<std::wstring> files;
        files.swap(m_queue);
        ResetEvent(m_queued);
        LeaveCriticalSection(&m_lock);
        std::map<std::wstring, DWORD> flushed;
        for (const std::wstring& path : files) flushed[path] = FlushFileToDisk(path);
        EnterCriticalSection(&m_lock);
        for (const auto& result : flushed) m_results[result.first] = result.second;
        if (m_queue.empty()) SetEvent(m_idle);
        LeaveCriticalSection(&m_lock);
    }
}
