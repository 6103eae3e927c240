#pragma once
#include "framework/CString.h"
#include <windows.h>

// A fresh folder under the temporary directory, removed with its files when the test ends.
class ScratchFolder {
public:
    ScratchFolder()
    {
        wchar_t base[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, base);
        static unsigned int counter = 0;
        for (;;) {
            wchar_t name[64];
            wsprintfW(name, L"vt%lu_%u", GetCurrentProcessId(), ++counter);
            m_path = CString(base) + name;
            if (CreateDirectoryW(m_path, nullptr)) break;
            if (GetLastError() != ERROR_ALREADY_EXISTS) break;
        }
    }
    ~ScratchFolder() { RemoveTree(m_path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const CString& Path() const { return m_path; }
    CString operator/(const wchar_t* name) const { return m_path + L"\\" + name; }

    static void RemoveTree(const CString& path)
    {
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW(path + L"\\*", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                CString name(found.cFileName);
                if (name == CString(L".") || name == CString(L"..")) continue;
                CString child = path + L"\\" + name;
                SetFileAttributesW(child, FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
                else DeleteFileW(child);
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        RemoveDirectoryW(path);
    }

private:
    CString m_path;
};

inline bool WriteWholeFile(const CString& path, const void* data, DWORD size)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, data, size, &written, nullptr);
    CloseHandle(file);
    return ok && written == size;
}

inline std::string ReadWholeFile(const CString& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}
