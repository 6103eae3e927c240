#include "switching/DurableFile.h"
#include "framework/CHandle.h"

namespace {

DWORD LastErrorOr(DWORD fallback)
{
    DWORD error = GetLastError();
    return error ? error : fallback;
}

} // namespace

DWORD WriteFileDurably(const std::wstring& path, const std::wstring& temporary, const std::string& bytes)
{
    CHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastErrorOr(ERROR_CANNOT_MAKE);
    DWORD written = 0;
    DWORD error = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written != bytes.size())
        error = LastErrorOr(ERROR_DISK_FULL);
    else if (!FlushFileBuffers(file))
        error = LastErrorOr(ERROR_WRITE_FAULT);
    file.Close();
    if (!error && !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = LastErrorOr(ERROR_ACCESS_DENIED);
    if (error) DeleteFileW(temporary.c_str());
    return error;
}

DWORD FlushFileToDisk(const std::wstring& path)
{
    // Shared every way: a scanner that reads the file meanwhile must not make the switch fail.
    CHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
    if (!file) return LastErrorOr(ERROR_FILE_NOT_FOUND);
    return FlushFileBuffers(file) ? 0 : LastErrorOr(ERROR_WRITE_FAULT);
}
