#include "switching/EntryWorker.h"
#include "zip/ZipArchive.h"

EntryWorker::EntryWorker(const void* package, unsigned long size, const CString& folder, int index, const CString& target)
    : m_package(package), m_size(size), m_folder(folder), m_index(index), m_target(target)
{
    m_thread.Start([this] {
        try {
            m_result = Extract();
        } catch (...) {
            m_result = ZIPRES_WRITE_FAILED;
        }
    });
}

EntryWorker::~EntryWorker()
{
    m_thread.Wait();
}

DWORD EntryWorker::Result()
{
    if (m_thread) {
        m_thread.Wait();
        m_done = true;
    }
    if (!m_done) {
        m_result = Extract();
        m_done = true;
    }
    return m_result;
}

DWORD EntryWorker::Extract() const
{
    ZipArchiveOwner archive(ZipOpenMemory(m_package, m_size));
    if (!archive) return ZIPRES_CORRUPT;
    archive->SetFlushBehind(true);
    DWORD result = ZipSetBaseDir(archive.get(), m_folder);
    return result == ZIPRES_OK ? ZipExtractEntry(archive.get(), m_index, m_target) : result;
}
