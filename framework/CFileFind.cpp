#include "framework/CFileFind.h"
#include "framework/LongPath.h"

bool CFileFind::FindFile(const wchar_t* name)
{
    Close();
    CString pattern(name ? name : L"*.*");
    int slash = pattern.ReverseFind(L'\\');
    m_strRoot = slash < 0 ? CString() : pattern.Left(slash + 1);
    m_hFind = FindFirstFileW(LongPathForm(pattern.Str()).c_str(), &m_next);
    m_hasNext = m_hFind != INVALID_HANDLE_VALUE;
    m_started = false;
    return m_hasNext;
}

bool CFileFind::FindNextFile()
{
    if (!m_hasNext) return false;
    m_found = m_next;
    m_started = true;
    m_hasNext = ::FindNextFileW(m_hFind, &m_next) != FALSE;
    return m_hasNext;
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_hasNext = false;
    m_started = false;
}

CString CFileFind::GetFileName() const
{
    return m_started ? CString(m_found.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    return m_started ? m_strRoot + m_found.cFileName : CString();
}

bool CFileFind::IsDirectory() const
{
    return m_started && (m_found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
