#include "zip/ZipArchive.h"
#include "framework/LongPath.h"
#include "zip/ZipEntryName.h"
#include <string>

namespace {

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool MakeDirectoryChain(const wchar_t* root, const wchar_t* dir)
{
    try {
        std::wstring base = root ? root : L"";
        if (root && !IsFolder(base)) CreateDirectoryW(LongPathForm(base).c_str(), nullptr);
        if (!dir || !dir[0]) return root ? IsFolder(base) : false;
        std::wstring chain = dir;
        std::wstring parent = FolderPart(chain);
        // A lone leading separator is the root, not a folder to make.
        if (parent.size() > 1) MakeDirectoryChain(root, parent.substr(0, parent.size() - 1).c_str());
        std::wstring joined = base + chain;
        if (!IsFolder(joined)) CreateDirectoryW(LongPathForm(joined).c_str(), nullptr);
        return IsFolder(joined);
    } catch (...) {
        return false;
    }
}
