#include "zip/ZipEntryName.h"

bool DecodeUtf8Name(const char* bytes, size_t length, std::wstring& name)
{
    name.clear();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    size_t i = 0;
    while (i < length) {
        unsigned int c = p[i];
        unsigned int code;
        size_t extra;
        if (c < 0x80) { code = c; extra = 0; }
        else if (c >= 0xC2 && c <= 0xDF) { code = c & 0x1F; extra = 1; }
        else if (c >= 0xE0 && c <= 0xEF) { code = c & 0x0F; extra = 2; }
        else if (c >= 0xF0 && c <= 0xF4) { code = c & 0x07; extra = 3; }
        else return false;
        if (extra > length - i - 1) return false;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned int next = p[i + k];
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000)) return false;
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF || code == 0) return false;
        if (code >= 0x10000) {
            code -= 0x10000;
            name += static_cast<wchar_t>(0xD800 + (code >> 10));
            name += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            name += static_cast<wchar_t>(code);
        }
        i += extra + 1;
    }
    return true;
}

namespace {

wchar_t Upper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// Windows resolves these names to devices in every folder and with any extension.
bool IsDeviceName(const std::wstring& part)
{
    std::wstring stem = part.substr(0, part.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = Upper(c);
    static const wchar_t* const plain[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : plain)
        if (stem == device) return true;
    // The superscript digits one to three count as digits here too.
    if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0))
        return (stem[3] >= L'0' && stem[3] <= L'9') || stem[3] == 0xB9 || stem[3] == 0xB2 || stem[3] == 0xB3;
    return false;
}

bool IsSafePart(const std::wstring& part)
{
    if (part.empty()) return true;
    if (part == L"..") return false;
    if (part.back() == L'.' || part.back() == L' ') return false;
    for (wchar_t c : part) {
        if (c < 0x20 || c == 0x7F) return false;
        if (c == L':' || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*') return false;
    }
    return !IsDeviceName(part);
}

} // namespace

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring FolderPart(const std::wstring& path)
{
    size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

bool IsSafeRelativePath(const std::wstring& path)
{
    if (path.empty() || IsAbsoluteTarget(path.c_str())) return false;
    size_t start = 0;
    for (;;) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        if (!IsSafePart(path.substr(start, end - start))) return false;
        if (end == path.size()) return true;
        start = end + 1;
    }
}

bool IsAbsoluteTarget(const wchar_t* path)
{
    if (!path || !path[0]) return false;
    return IsSeparator(path[0]) || path[1] == L':';
}

std::wstring SanitizeEntryName(const std::wstring& original)
{
    std::wstring name = original;
    static const wchar_t* const parents[] = {L"\\..\\", L"\\../", L"/../", L"/..\\"};
    for (;;) {
        if (!name.empty() && name.size() >= 2 && name[1] == L':') { name.erase(0, 2); continue; }
        if (!name.empty() && IsSeparator(name[0])) { name.erase(0, 1); continue; }
        bool dropped = false;
        for (const wchar_t* parent : parents) {
            size_t at = name.find(parent);
            if (at != std::wstring::npos) {
                name.erase(0, at + 4);
                dropped = true;
                break;
            }
        }
        if (!dropped) break;
    }
    if (name.find(L'\0') != std::wstring::npos || !IsSafeRelativePath(name)) return std::wstring();
    return name;
}
