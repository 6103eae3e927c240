#include "switching/EntryWorker.h"
#include "zip/ZipArchive.h"

EntryWorker::EntryWorker(const void* package, unsigned long size, const CString& folder, int index, const CString& target)
    : m_package(package), m_size(size), m_folder(folder), m_index(index), m_target(target)
{
    m_finished.Attach(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (m_finished) m_thread.Attach(CreateThread(nullptr, 0, Run, this, 0, nullptr));
}

EntryWorker::~EntryWorker()
{
    // Past the signal the thread only ends: nothing of it touches the worker or the files any more.
    if (m_thread) WaitForSingleObject(m_finished, INFINITE);
}

DWORD EntryWorker::Result()
{
    if (m_thread) {
        WaitForSingleObject(m_finished, INFINITE);
        m_done = true;
    }
    if (!m_done) {
        m_result = Extract();
        m_done = true;
    }
    return m_result;
}

DWORD WINAPI EntryWorker::Run(void* self)
{
    EntryWorker& worker = *static_cast<EntryWorker*>(self);
    // Nothing may leave a thread's procedure: the process would end.
    try {
        worker.m_result = worker.Extract();
    } catch (...) {
        worker.m_result = ZIPRES_WRITE_FAILED;
    }
    SetEvent(worker.m_finished);
    return 0;
}

DWORD EntryWorker::Extract() const
{
    ZipArchiveOwner archive(ZipOpenMemory(m_package, m_size));
    if (!archive) return ZIPRES_CORRUPT;
    archive->SetFlushBehind(true);
    DWORD result = ZipSetBaseDir(archive.get(), m_folder);
    return result == ZIPRES_OK ? ZipExtractEntry(archive.get(), m_index, m_target) : result;
}
