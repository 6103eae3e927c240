#pragma once
#include "framework/CException.h"

// A failed file operation: its cause, the operating system's error code and the file's name.
class CFileException : public CException {
public:
    enum {
        none, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied, invalidFile,
        removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation, lockViolation, diskFull, endOfFile
    };

    CFileException(int cause = none, long osError = -1, const CString& fileName = CString())
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    CString GetErrorMessage() const override;

    static int OsErrorToException(long osError);
    [[noreturn]] static void ThrowOsError(long osError, const CString& fileName);

    int m_cause;
    long m_lOsError;
    CString m_strFileName;
};
