#include "framework/LongPath.h"
#include <windows.h>
#include <algorithm>

std::wstring LongPathForm(const std::wstring& path)
{
    // CreateDirectoryW stops 12 units short of MAX_PATH, to leave room for an 8.3 name inside.
    if (path.size() < MAX_PATH - 12 || path.compare(0, 4, L"\\\\?\\") == 0) return path;
    std::wstring full = path;
    std::replace(full.begin(), full.end(), L'/', L'\\');
    if (full.size() > 2 && full[0] == L'\\' && full[1] == L'\\') return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() > 2 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    return path;
}

bool PathExists(const std::wstring& path)
{
    return GetFileAttributesW(LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
