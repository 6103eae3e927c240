#pragma once
#include "framework/CString.h"

// An open file handle; every failure throws a CFileException naming the file.
class CFile {
public:
    enum : unsigned int {
        modeRead = 0x0000, modeWrite = 0x0001, modeReadWrite = 0x0002,
        shareExclusive = 0x0010, shareDenyWrite = 0x0020, shareDenyRead = 0x0030, shareDenyNone = 0x0040,
        modeCreate = 0x1000
    };

    CFile() = default;
    CFile(const wchar_t* fileName, unsigned int openFlags);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    void Open(const wchar_t* fileName, unsigned int openFlags);
    void Write(const void* data, unsigned int count);
    void Close();
    bool IsOpen() const { return m_hFile != nullptr; }
    const CString& GetFilePath() const { return m_strFileName; }

    static void Remove(const wchar_t* fileName);

private:
    void* m_hFile = nullptr;
    CString m_strFileName;
};
