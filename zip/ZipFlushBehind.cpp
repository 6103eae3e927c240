#include "zip/ZipFlushBehind.h"
#include "framework/LongPath.h"

ZipFlushBehind::ZipFlushBehind(const std::wstring& path)
{
    // Without its handle, its event or its thread, nothing is flushed early, which costs only time.
    m_file.Attach(CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr));
    if (m_file) m_wake.Attach(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (m_wake) m_thread.Start([this] { Run(); });
}

ZipFlushBehind::~ZipFlushBehind()
{
    if (m_thread) {
        InterlockedExchange(&m_stopping, 1);
        SetEvent(m_wake);
        m_thread.Wait();
    }
}

void ZipFlushBehind::Written(unsigned long long bytes)
{
    m_unflushed += bytes;
    if (m_unflushed < kStep || !m_thread) return;
    m_unflushed = 0;
    // Wakes that come while it flushes fold into one.
    SetEvent(m_wake);
}

void ZipFlushBehind::Run()
{
    while (WaitForSingleObject(m_wake, INFINITE) == WAIT_OBJECT_0 && !InterlockedCompareExchange(&m_stopping, 0, 0))
        FlushFileBuffers(m_file);
}
