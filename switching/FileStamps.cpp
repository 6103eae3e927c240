#include "switching/FileStamps.h"
#include "framework/CHandle.h"
#include "framework/LongPath.h"
#include "switching/KeptVersions.h"
#include "switching/PackageListing.h"
#include <winternl.h>
#include <cstdio>
#include <string>
#include <vector>

const wchar_t FileStamps::kFile[] = L"stamps";

namespace {

typedef LONG(WINAPI* QueryFullAttributes)(const OBJECT_ATTRIBUTES*, FILE_NETWORK_OPEN_INFORMATION*);
typedef BOOLEAN(WINAPI* DosPathToNtPath)(const wchar_t*, UNICODE_STRING*, wchar_t**, void*);

// The system's own query: it tells the change time, on every Windows this runs on, and needs no
// handle (opening a file and asking for its index costs a hundred times more under Wine).
bool QueryAttributes(const std::wstring& path, FILE_NETWORK_OPEN_INFORMATION& info)
{
    static HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    static QueryFullAttributes query = reinterpret_cast<QueryFullAttributes>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryFullAttributesFile")));
    static DosPathToNtPath convert = reinterpret_cast<DosPathToNtPath>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlDosPathNameToNtPathName_U")));
    UNICODE_STRING name{};
    if (!query || !convert || !convert(LongPathForm(path).c_str(), &name, nullptr, nullptr)) return false;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    bool known = query(&attributes, &info) >= 0;
    HeapFree(GetProcessHeap(), 0, name.Buffer);
    return known;
}

// Stamps are kept by the path's name key: the file system ignores case.
std::wstring KeyOf(const std::wstring& path)
{
    return NameKey(CString(path.c_str())).Str();
}

} // namespace

// A volume without a change time of its own (FAT gives none, or the write time) gives no stamp:
// its files are always read.
bool FileStamps::Read(const std::wstring& path, Stamp& stamp)
{
    FILE_NETWORK_OPEN_INFORMATION info{};
    if (!QueryAttributes(path, info) || (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    stamp.size = static_cast<unsigned long long>(info.EndOfFile.QuadPart);
    stamp.written = static_cast<unsigned long long>(info.LastWriteTime.QuadPart);
    stamp.changed = static_cast<unsigned long long>(info.ChangeTime.QuadPart);
    stamp.created = static_cast<unsigned long long>(info.CreationTime.QuadPart);
    return stamp.changed != 0 && stamp.changed != stamp.written;
}

void FileStamps::Load()
{
    if (m_loaded) return;
    m_loaded = true;
    CHandle file(CreateFileW(m_folder.Path(std::wstring(KeptVersions::kFolder) + L"\\" + kFile).c_str(), GENERIC_READ,
                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart > (4 << 20)) return;
    std::string text(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &got, nullptr) || got != text.size()) return;
    // A line cut short by a kill before its newline is no stamp.
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = text.substr(start, end - start);
        Stamp stamp;
        unsigned long crc = 0;
        int pathAt = 0;
        if (std::sscanf(line.c_str(), "%8lx %llu %16llx %16llx %16llx %n", &crc, &stamp.size, &stamp.created,
                        &stamp.written, &stamp.changed, &pathAt) < 5 || pathAt <= 0)
            continue;
        int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.c_str() + pathAt, -1, nullptr, 0);
        if (length <= 1) continue;
        std::vector<wchar_t> path(length);
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.c_str() + pathAt, -1, path.data(), length);
        stamp.crc = crc;
        m_stamps[path.data()] = stamp;
    }
}

bool FileStamps::Holds(const std::wstring& path, unsigned long long* size, DWORD* crc)
{
    Load();
    auto found = m_stamps.find(KeyOf(path));
    Stamp now;
    if (found == m_stamps.end() || !Read(path, now)) return false;
    const Stamp& was = found->second;
    if (now.size != was.size || now.created != was.created || now.written != was.written || now.changed != was.changed)
        return false;
    *size = was.size;
    *crc = was.crc;
    return true;
}

bool FileStamps::HoldsData(const std::wstring& path, unsigned long long size, DWORD crc)
{
    unsigned long long recordedSize = 0;
    DWORD recordedCrc = 0;
    return Holds(path, &recordedSize, &recordedCrc) && recordedSize == size && recordedCrc == crc;
}

void FileStamps::Record(const std::wstring& path, DWORD crc)
{
    Load();
    Stamp stamp;
    if (!Read(path, stamp)) {
        m_changed = m_stamps.erase(KeyOf(path)) > 0 || m_changed;
        return;
    }
    stamp.crc = crc;
    m_stamps[KeyOf(path)] = stamp;
    m_changed = true;
}

void FileStamps::Save()
{
    if (!m_changed) return;
    std::string text;
    for (const auto& entry : m_stamps) {
        char fields[128];
        std::snprintf(fields, sizeof fields, "%08lx %llu %016llx %016llx %016llx ",
                      static_cast<unsigned long>(entry.second.crc), entry.second.size, entry.second.created,
                      entry.second.written, entry.second.changed);
        int length = WideCharToMultiByte(CP_UTF8, 0, entry.first.c_str(), -1, nullptr, 0, nullptr, nullptr);
        if (length <= 1) continue;
        std::string path(static_cast<size_t>(length), '\0');
        WideCharToMultiByte(CP_UTF8, 0, entry.first.c_str(), -1, &path[0], length, nullptr, nullptr);
        path.resize(static_cast<size_t>(length - 1));
        text += fields + path + "\n";
    }
    std::wstring folder = m_folder.Path(KeptVersions::kFolder);
    if (CreateDirectoryW(folder.c_str(), nullptr)) SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    // Not flushed: after a power cut a stamp that was lost, or a file of zeros, only costs reads.
    CHandle file(CreateFileW((folder + L"\\" + kFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    m_changed = false;
}
