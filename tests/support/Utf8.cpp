#include "Utf8.h"
#include <windows.h>

namespace {

std::string Narrow(const std::wstring& text, UINT codePage)
{
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &result[0], size, nullptr, nullptr);
    return result;
}

} // namespace

std::string Utf8(const std::wstring& text)
{
    return Narrow(text, CP_UTF8);
}

std::string Ansi(const std::wstring& text)
{
    return Narrow(text, CP_ACP);
}
