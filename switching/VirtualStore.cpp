#include "switching/VirtualStore.h"
#include "framework/LongPath.h"
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <set>

std::wstring VirtualStoreFolder(const CString& gameDir)
{
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExW(&version) || version.dwMajorVersion < 6) return std::wstring();
    const std::wstring& dir = gameDir.Str();
    if (dir.size() < 2 || dir[1] != L':') return std::wstring();
    wchar_t local[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) return std::wstring();
    return std::wstring(local) + L"\\VirtualStore" + dir.substr(2);
}

std::vector<std::wstring> FindVirtualStoreCopies(const CString& gameDir, const std::vector<PackageEntry>& known)
{
    std::vector<std::wstring> copies;
    std::wstring folder = VirtualStoreFolder(gameDir);
    if (folder.empty() || !PathExists(folder)) return copies;
    // Packages share most names, in letter cases of their own; each file is looked for once.
    std::set<std::wstring> seen;
    for (const PackageEntry& e : known) {
        if (e.folder || e.name.IsEmpty() || !seen.insert(NameKey(e.name).Str()).second) continue;
        std::wstring path = folder + L"\\" + e.name.Str();
        if (PathExists(path)) copies.push_back(path);
    }
    return copies;
}

std::vector<std::wstring> RemoveVirtualStoreCopies(const std::vector<std::wstring>& paths)
{
    std::vector<std::wstring> left;
    for (const std::wstring& path : paths) {
        // The shell's list of paths ends with an empty one.
        std::wstring from = path + L'\0';
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        if (SHFileOperationW(&operation) != 0 || PathExists(path)) {
            SetFileAttributesW(LongPathForm(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(LongPathForm(path).c_str());
        }
        if (PathExists(path)) left.push_back(path);
    }
    return left;
}
