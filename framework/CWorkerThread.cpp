#include "framework/CWorkerThread.h"

CWorkerThread::~CWorkerThread()
{
    Wait();
}

bool CWorkerThread::Start(std::function<void()> function)
{
    Wait();
    if (!m_returned) m_returned.Attach(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!m_returned || !ResetEvent(m_returned)) return false;
    m_function = std::move(function);
    m_thread.Attach(CreateThread(nullptr, 0, Run, this, 0, nullptr));
    return m_thread.IsValid();
}

void CWorkerThread::Wait()
{
    if (!m_thread) return;
    WaitForSingleObject(m_returned, INFINITE);
    m_thread.Close();
}

DWORD WINAPI CWorkerThread::Run(void* self)
{
    CWorkerThread& worker = *static_cast<CWorkerThread*>(self);
    // An exception that left a thread's procedure would end the process.
    try {
        worker.m_function();
    } catch (...) {
    }
    // The last touch of the object: the waiter may destroy it from here on.
    SetEvent(worker.m_returned);
    return 0;
}
