#include "switching/EarlyFlush.h"
#include "switching/DurableFile.h"

EarlyFlush::EarlyFlush()
{
    InitializeCriticalSection(&m_lock);
}

EarlyFlush::~EarlyFlush()
{
    Finish();
    DeleteCriticalSection(&m_lock);
}

void EarlyFlush::Add(const std::wstring& path)
{
    try {
        EnterCriticalSection(&m_lock);
        // Queued again, it was written again: an earlier flush no longer counts.
        m_flushed.erase(path);
        m_queue.push_back(path);
        LeaveCriticalSection(&m_lock);
    } catch (...) {
        LeaveCriticalSection(&m_lock);
        return;
    }
    if (!m_wake) m_wake.Attach(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (m_wake && !m_thread) m_thread.Start([this] { Run(); });
    if (m_wake) SetEvent(m_wake);
}

void EarlyFlush::Finish()
{
    if (!m_thread) return;
    EnterCriticalSection(&m_lock);
    m_finishing = true;
    LeaveCriticalSection(&m_lock);
    SetEvent(m_wake);
    m_thread.Wait();
    m_queue.clear();
    m_finishing = false;
}

// The next file, or false once the queue is empty and Finish was called.
bool EarlyFlush::Next(std::wstring& path)
{
    for (;;) {
        EnterCriticalSection(&m_lock);
        bool queued = !m_queue.empty();
        if (queued) {
            path.swap(m_queue.front());
            m_queue.pop_front();
        }
        bool finishing = m_finishing;
        LeaveCriticalSection(&m_lock);
        if (queued) return true;
        if (finishing) return false;
        WaitForSingleObject(m_wake, INFINITE);
    }
}

bool EarlyFlush::Flushed(const std::wstring& path)
{
    EnterCriticalSection(&m_lock);
    bool flushed = m_flushed.count(path) != 0;
    LeaveCriticalSection(&m_lock);
    return flushed;
}

void EarlyFlush::Run()
{
    std::wstring path;
    while (Next(path)) {
        if (FlushFileToDisk(path) != 0) continue;
        // A set that cannot grow only costs the commit a flush.
        try {
            EnterCriticalSection(&m_lock);
            m_flushed.insert(path);
        } catch (...) {
        }
        LeaveCriticalSection(&m_lock);
    }
}
