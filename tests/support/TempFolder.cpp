#include "TempFolder.h"
#include "Wait.h"
#include "framework/CHandle.h"
#include <vector>

bool RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            // Tests mark files read-only, hidden or system on purpose; those refuse deletion otherwise.
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(path.c_str()) || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    CHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && (bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) &&
           written == bytes.size();
}

std::optional<std::string> ReadWholeFile(const std::wstring& path)
{
    CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0) bytes.append(buffer, got);
    if (!ok) return std::nullopt;
    return bytes;
}

namespace {

std::wstring DefaultRoot()
{
    wchar_t buffer[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH) return L"C:\\windows\\temp";
    std::wstring root(buffer, n);
    while (!root.empty() && (root.back() == L'\\' || root.back() == L'/')) root.pop_back();
    return root;
}

} // namespace

TempFolder::TempFolder(const std::wstring& root)
{
    std::wstring base = root.empty() ? DefaultRoot() : root;
    while (!base.empty() && (base.back() == L'\\' || base.back() == L'/')) base.pop_back();
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate = base + L"\\drv" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                 std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

TempFolder::~TempFolder()
{
    Remove();
}

std::wstring TempFolder::PathOf(const std::wstring& relative) const
{
    return path_ + L"\\" + relative;
}

bool TempFolder::CopyIn(const std::wstring& source, const std::wstring& name) const
{
    if (!IsValid()) return false;
    std::wstring target = name;
    if (target.empty()) {
        size_t slash = source.find_last_of(L"\\/");
        target = slash == std::wstring::npos ? source : source.substr(slash + 1);
    }
    return CopyFileW(source.c_str(), PathOf(target).c_str(), FALSE) != FALSE;
}

bool TempFolder::Write(const std::wstring& name, const std::string& bytes) const
{
    return IsValid() && WriteWholeFile(PathOf(name), bytes);
}

std::optional<std::string> TempFolder::Read(const std::wstring& name) const
{
    if (!IsValid()) return std::nullopt;
    return ReadWholeFile(PathOf(name));
}

bool TempFolder::Exists(const std::wstring& name) const
{
    return IsValid() && GetFileAttributesW(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool TempFolder::MakeFolder(const std::wstring& name) const
{
    return IsValid() && CreateDirectoryW(PathOf(name).c_str(), nullptr) != FALSE;
}

bool TempFolder::Remove()
{
    if (!IsValid()) return true;
    // A process that was just killed may still hold its files for a moment.
    bool removed = WaitUntil([this] { return RemoveTree(path_); }, 2000, 50);
    if (removed) path_.clear();
    return removed;
}
