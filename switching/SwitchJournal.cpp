#include "switching/SwitchJournal.h"
#include "framework/CHandle.h"
#include <cwchar>
#include <string>

namespace {

const wchar_t kHeader[] = L"kelvadi switch journal 1";
const wchar_t kEnd[] = L"end";

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t cut; (cut = text.find(separator, start)) != std::wstring::npos; start = cut + 1)
        parts.push_back(text.substr(start, cut - start));
    parts.push_back(text.substr(start));
    return parts;
}

bool ParseNumber(const std::wstring& text, int base, unsigned long long& value)
{
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    value = std::wcstoull(text.c_str(), &end, base);
    return end && *end == 0;
}

} // namespace

bool SwitchJournal::Write(const std::wstring& path) const
{
    std::wstring text = std::wstring(kHeader) + L"\n" + label.Str() + L"\n";
    for (const JournalEntry& e : entries) {
        wchar_t crc[16];
        wsprintfW(crc, L"%08lx", e.crc);
        text += std::to_wstring(e.slot) + L"\t" + std::to_wstring(e.size) + L"\t" + crc + L"\t" +
                (e.hadOriginal ? L"o" : L"-") + (e.keepOriginal ? L"k" : L"-") + L"\t" + e.target.Str() + L"\n";
    }
    text += std::wstring(kEnd) + L"\n";

    std::wstring temporary = path + L".tmp";
    CHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_WRITE_THROUGH, nullptr));
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    bool done = file && WriteFile(file, text.data(), bytes, &written, nullptr) && written == bytes && FlushFileBuffers(file) &&
                file.Close() && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    file.Close();
    if (!done) DeleteFileW(temporary.c_str());
    return done;
}

bool SwitchJournal::Read(const std::wstring& path)
{
    CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file, &size) || size.QuadPart > 1 << 20 || size.QuadPart % 2) return false;
    std::wstring text(static_cast<size_t>(size.QuadPart) / 2, L'\0');
    DWORD got = 0;
    if (!text.empty() && (!ReadFile(file, &text[0], static_cast<DWORD>(size.QuadPart), &got, nullptr) || got != size.QuadPart))
        return false;

    std::vector<std::wstring> lines = Split(text, L'\n');
    // Header, label, the entries, the end mark and the empty rest after the last line break.
    if (lines.size() < 4 || lines[0] != kHeader || lines[lines.size() - 2] != kEnd || !lines.back().empty()) return false;
    SwitchJournal read;
    read.label = lines[1];
    for (size_t i = 2; i + 2 < lines.size(); ++i) {
        std::vector<std::wstring> fields = Split(lines[i], L'\t');
        JournalEntry e;
        unsigned long long slot = 0, crc = 0;
        if (fields.size() != 5 || !ParseNumber(fields[0], 10, slot) || !ParseNumber(fields[1], 10, e.size) ||
            !ParseNumber(fields[2], 16, crc) || fields[3].size() != 2 || fields[4].empty())
            return false;
        e.slot = static_cast<unsigned int>(slot);
        e.crc = static_cast<DWORD>(crc);
        e.hadOriginal = fields[3][0] == L'o';
        e.keepOriginal = fields[3][1] == L'k';
        e.target = fields[4];
        read.entries.push_back(e);
    }
    *this = read;
    return true;
}
