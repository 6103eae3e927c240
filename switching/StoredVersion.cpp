#include "switching/StoredVersion.h"
#include "framework/CHandle.h"
#include "framework/LongPath.h"
#include <string>

namespace {

const wchar_t kSection[] = L"GameMain";
const wchar_t kKey[] = L"BanBen";

std::wstring IniPath(const CString& gameDir)
{
    return LongPathForm(gameDir.Str() + L"\\wargame.ini");
}

bool ReadBytes(const std::wstring& path, std::string& bytes)
{
    CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file, &size) || size.QuadPart > 16 * 1024 * 1024) return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    return bytes.empty() || (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
}

bool IsUtf16(const std::string& bytes)
{
    return bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
}

bool Decode(const char* bytes, int length, UINT codePage, DWORD flags, std::wstring& text)
{
    if (length == 0) return text.clear(), true;
    int units = MultiByteToWideChar(codePage, flags, bytes, length, nullptr, 0);
    if (units <= 0) return false;
    text.resize(static_cast<size_t>(units));
    return MultiByteToWideChar(codePage, flags, bytes, length, &text[0], units) == units;
}

// UTF-16 with its mark as the profile functions write it; without a mark, UTF-8 when it is valid
// UTF-8 (as some editors save it), else the system's ANSI code page, as older launchers wrote it.
std::wstring DecodeIni(const std::string& bytes)
{
    std::wstring text;
    if (IsUtf16(bytes)) return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const char* start = bytes.data() + skip;
    int length = static_cast<int>(bytes.size() - skip);
    if (Decode(start, length, CP_UTF8, MB_ERR_INVALID_CHARS, text)) return text;
    Decode(start, length, CP_ACP, 0, text);
    return text;
}

// A name of its own each time: the profile functions cache files by name.
std::wstring TemporaryIniPath(const std::wstring& path)
{
    static unsigned int counter = 0;
    wchar_t suffix[40];
    wsprintfW(suffix, L".~%lx%lx", GetCurrentProcessId(), (GetTickCount() << 8) + ++counter);
    return path + suffix;
}

bool WriteUtf16(const std::wstring& path, const std::wstring& text)
{
    CHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::string bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size() &&
           file.Close();
}

// The file's text in a new UTF-16 file beside it, changed by edit, then put in its place.
template <typename Edit>
bool ReplaceIni(const std::wstring& path, const std::wstring& text, Edit edit)
{
    // Replacing would succeed on some systems; Windows refuses a read-only file, and so do we.
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    std::wstring temporary = TemporaryIniPath(path);
    bool done = WriteUtf16(temporary, text) && edit(temporary) &&
                MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!done) DeleteFileW(temporary.c_str());
    return done;
}

CString ReadValue(const std::wstring& path)
{
    wchar_t stored[260] = L"";
    GetPrivateProfileStringW(kSection, kKey, L"", stored, 260, path.c_str());
    return stored;
}

} // namespace

CString ReadStoredVersion(const CString& gameDir)
{
    std::wstring path = IniPath(gameDir);
    std::string bytes;
    if (!ReadBytes(path, bytes) || IsUtf16(bytes)) return ReadValue(path);
    // Read through a Unicode copy: reading must not write the player's file.
    wchar_t folder[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return CString();
    std::wstring copy = TemporaryIniPath(std::wstring(folder) + L"wargame.ini");
    CString value = WriteUtf16(copy, DecodeIni(bytes)) ? ReadValue(copy) : CString();
    DeleteFileW(copy.c_str());
    return value;
}

bool WriteStoredVersion(const CString& gameDir, const CString& label)
{
    std::wstring path = IniPath(gameDir);
    std::string bytes;
    std::wstring text = ReadBytes(path, bytes) ? DecodeIni(bytes) : std::wstring();
    return ReplaceIni(path, text, [&label](const std::wstring& temporary) {
        return WritePrivateProfileStringW(kSection, kKey, label, temporary.c_str()) != FALSE;
    });
}
