#include "framework/CFileException.h"
#include <windows.h>

CString CFileException::GetErrorMessage() const
{
    const wchar_t* format = L"访问 %1 时发生意外错误。";
    switch (m_cause) {
    case fileNotFound: format = L"未找到 %1。"; break;
    case badPath: format = L"%1 包含无效路径。"; break;
    case tooManyOpenFiles: format = L"因为没有剩余的文件句柄，无法打开 %1。"; break;
    case accessDenied: format = L"拒绝访问 %1。"; break;
    case invalidFile: format = L"对 %1 使用了无效的文件句柄。"; break;
    case removeCurrentDir: format = L"无法删除当前工作目录 %1。"; break;
    case directoryFull: format = L"无法创建 %1，因为目录已满。"; break;
    case badSeek: format = L"在 %1 上查找失败。"; break;
    case hardIO: format = L"访问 %1 时遇到硬件 I/O 错误。"; break;
    case sharingViolation: format = L"访问 %1 时遇到了共享冲突。"; break;
    case lockViolation: format = L"访问 %1 时遇到了锁定冲突。"; break;
    case diskFull: format = L"写入 %1 时磁盘已满。"; break;
    case endOfFile: format = L"试图越过 %1 的结尾进行访问。"; break;
    default: break;
    }
    CString text(format);
    // The name is inserted once, literally: a "%1" inside a file name must not expand again.
    int at = text.Find(L"%1");
    return text.Left(at) + m_strFileName + text.Mid(at + 2);
}

int CFileException::OsErrorToException(long osError)
{
    switch (osError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_NAME: case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE: case ERROR_BAD_NETPATH: case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED: case ERROR_WRITE_PROTECT: case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_CANNOT_MAKE: case ERROR_FILE_EXISTS: case ERROR_ALREADY_EXISTS:
        return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_NO_MORE_FILES: return directoryFull;
    case ERROR_SEEK: case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_CRC: case ERROR_READ_FAULT: case ERROR_WRITE_FAULT: case ERROR_GEN_FAILURE:
    case ERROR_SECTOR_NOT_FOUND: case ERROR_NOT_READY:
        return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: case ERROR_DRIVE_LOCKED: return lockViolation;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(long osError, const CString& fileName)
{
    throw CFileException(OsErrorToException(osError), osError, fileName);
}
