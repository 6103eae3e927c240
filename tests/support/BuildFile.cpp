#include "BuildFile.h"
#include <windows.h>
#include <vector>

std::wstring TestExecutableFolder()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::wstring();
        if (n < buffer.size()) {
            std::wstring path(buffer.data(), n);
            size_t slash = path.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring BuildFile(const std::wstring& relative)
{
    std::wstring folder = TestExecutableFolder();
    size_t slash = folder.find_last_of(L"\\/");
    std::wstring build = slash == std::wstring::npos ? folder : folder.substr(0, slash);
    return build + L"\\" + relative;
}
