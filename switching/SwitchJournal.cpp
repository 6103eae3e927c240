#include "switching/SwitchJournal.h"
#include "framework/CHandle.h"
#include "switching/DurableFile.h"
#include "zip/ZipEntryName.h"
#include "zip/ZipWholeEntry.h"
#include <set>
#include <cwchar>
#include <string>

namespace {

// The second form adds the checksum line, which tells a damaged journal from a whole one.
const wchar_t kHeader[] = L"kelvadi switch journal 2";
const wchar_t kEnd[] = L"end";
const long long kLongest = 1 << 20;

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

std::wstring Checksum(const std::wstring& text)
{
    wchar_t line[24];
    wsprintfW(line, L"crc %08lx", ZipCrc32(0, text.data(), text.size() * sizeof(wchar_t)));
    return line;
}

} // namespace

DWORD SwitchJournal::Write(const std::wstring& path) const
{
    std::wstring text = std::wstring(kHeader) + L"\n" + label.Str() + L"\n";
    for (const JournalEntry& e : entries) {
        wchar_t crc[16];
        wsprintfW(crc, L"%08lx", e.crc);
        text += std::to_wstring(e.slot) + L"\t" + std::to_wstring(e.size) + L"\t" + crc + L"\t" +
                (e.hadOriginal ? L"o" : L"-") + (e.keepOriginal ? L"k" : L"-") + L"\t" + e.target.Str() + L"\n";
    }
    text += Checksum(text) + L"\n" + kEnd + L"\n";
    return WriteFileDurably(path, path + L".tmp", std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)));
}

JournalState SwitchJournal::Read(const std::wstring& path)
{
    CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? JournalState::Absent : JournalState::Unreadable;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kLongest || size.QuadPart % 2) return JournalState::Unreadable;
    std::wstring text(static_cast<size_t>(size.QuadPart) / 2, L'\0');
    DWORD got = 0;
    if (!text.empty() && (!ReadFile(file, &text[0], static_cast<DWORD>(size.QuadPart), &got, nullptr) || got != size.QuadPart))
        return JournalState::Unreadable;

    std::vector<std::wstring> lines = Split(text, L'\n');
    // Header, label, the entries, the checksum, the end mark and the empty rest after the last line break.
    if (lines.size() < 5 || lines[0] != kHeader || lines[lines.size() - 2] != kEnd || !lines.back().empty())
        return JournalState::Unreadable;
    size_t checksumLine = lines.size() - 3;
    size_t checked = text.size() - lines[checksumLine].size() - wcslen(kEnd) - 2;
    if (lines[checksumLine] != Checksum(text.substr(0, checked))) return JournalState::Unreadable;
    SwitchJournal read;
    read.label = lines[1];
    std::set<unsigned long long> slots;
    for (size_t i = 2; i < checksumLine; ++i) {
        std::vector<std::wstring> fields = Split(lines[i], L'\t');
        JournalEntry e;
        unsigned long long slot = 0, crc = 0;
        if (fields.size() != 5 || !ParseNumber(fields[0], 10, slot) || slot > 0xFFFF || !ParseNumber(fields[1], 10, e.size) ||
            !ParseNumber(fields[2], 16, crc) || crc > 0xFFFFFFFF || fields[3].size() != 2 || fields[4].empty() ||
            !slots.insert(slot).second)
            return JournalState::Unreadable;
        // Recovery moves files by these names: one that would leave the game folder is no journal of ours.
        if (!IsSafeRelativePath(fields[4])) return JournalState::Unreadable;
        e.slot = static_cast<unsigned int>(slot);
        e.crc = static_cast<DWORD>(crc);
        e.hadOriginal = fields[3][0] == L'o';
        e.keepOriginal = fields[3][1] == L'k';
        e.target = fields[4];
        read.entries.push_back(e);
    }
    *this = read;
    return JournalState::Read;
}
