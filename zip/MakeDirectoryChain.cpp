#include "zip/ZipArchive.h"
#include "framework/LongPath.h"
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
        size_t cut = chain.find_last_of(L"\\/");
        if (cut != std::wstring::npos && cut != 0) MakeDirectoryChain(root, chain.substr(0, cut).c_str());
        std::wstring joined = base + chain;
        if (!IsFolder(joined)) CreateDirectoryW(LongPathForm(joined).c_str(), nullptr);
        return IsFolder(joined);
    } catch (...) {
        return false;
    }
}
