#include "framework/CFile.h"
#include "framework/CFileException.h"
#include <windows.h>

CFile::CFile(const wchar_t* fileName, unsigned int openFlags)
{
    Open(fileName, openFlags);
}

CFile::~CFile()
{
    // A destructor must not throw: an unclosed file is closed quietly.
    if (m_hFile) CloseHandle(m_hFile);
}

void CFile::Open(const wchar_t* fileName, unsigned int openFlags)
{
    if (m_hFile) Close();
    m_strFileName = fileName ? fileName : L"";
    DWORD access = GENERIC_READ;
    switch (openFlags & 3) {
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: break;
    }
    DWORD share = 0;
    switch (openFlags & 0x70) {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: break;
    }
    DWORD disposition = (openFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    if (openFlags & modeCreate) {
        // Windows refuses to recreate a read-only, hidden or system file with access denied;
        // said here too, so that it holds where the file system would let it through
        // (Wine running as root).
        DWORD attributes = GetFileAttributesW(m_strFileName);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            CFileException::ThrowOsError(ERROR_ACCESS_DENIED, m_strFileName);
    }
    HANDLE file = CreateFileW(m_strFileName, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) CFileException::ThrowOsError(static_cast<long>(GetLastError()), m_strFileName);
    m_hFile = file;
}

void CFile::Write(const void* data, unsigned int count)
{
    if (!m_hFile) throw CFileException(CFileException::invalidFile, ERROR_INVALID_HANDLE, m_strFileName);
    const BYTE* next = static_cast<const BYTE*>(data);
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(m_hFile, next, count, &written, nullptr))
            CFileException::ThrowOsError(static_cast<long>(GetLastError()), m_strFileName);
        // A write that makes no progress is a full disk.
        if (written == 0) throw CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
        next += written;
        count -= written;
    }
}

void CFile::Close()
{
    if (!m_hFile) return;
    HANDLE file = m_hFile;
    m_hFile = nullptr;
    if (!CloseHandle(file)) CFileException::ThrowOsError(static_cast<long>(GetLastError()), m_strFileName);
}

void CFile::Remove(const wchar_t* fileName)
{
    if (!DeleteFileW(fileName)) CFileException::ThrowOsError(static_cast<long>(GetLastError()), fileName);
}
