#pragma once
#include "framework/CString.h"
#include <windows.h>

// A search over file and folder names; owns the find handle.
class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // True when something matches; FindNextFile then steps to each match in turn.
    bool FindFile(const wchar_t* name = L"*.*");
    bool FindNextFile();
    void Close();

    CString GetFileName() const;
    CString GetFilePath() const;
    bool IsDirectory() const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_found{};
    WIN32_FIND_DATAW m_next{};
    bool m_hasNext = false;
    bool m_started = false;
    CString m_strRoot;
};
