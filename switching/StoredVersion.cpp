#include "switching/StoredVersion.h"
#include "framework/CHandle.h"
#include "framework/LongPath.h"
#include "switching/GameFolder.h"
#include "switching/DurableFile.h"
#include <string>

namespace {

const wchar_t kSection[] = L"GameMain";
const wchar_t kKey[] = L"BanBen";

std::wstring IniPath(const CString& gameDir)
{
    return GameFolder(gameDir).Path(L"wargame.ini");
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

// The profile functions take no long paths and must not touch the player's file while it is
// being edited: they work on a scratch copy in the temporary folder.
class ScratchIni {
public:
    explicit ScratchIni(const std::wstring& text)
    {
        wchar_t folder[MAX_PATH];
        DWORD length = GetTempPathW(MAX_PATH, folder);
        if (length == 0 || length >= MAX_PATH) return;
        m_path = TemporaryIniPath(std::wstring(folder) + L"wargame.ini");
        if (!WriteUtf16(m_path, text)) m_path.clear();
    }
    ~ScratchIni()
    {
        if (!m_path.empty()) DeleteFileW(m_path.c_str());
    }
    ScratchIni(const ScratchIni&) = delete;
    ScratchIni& operator=(const ScratchIni&) = delete;
    const wchar_t* Path() const { return m_path.empty() ? nullptr : m_path.c_str(); }

private:
    std::wstring m_path;
};

CString ReadValue(const wchar_t* path)
{
    wchar_t stored[260] = L"";
    if (path) GetPrivateProfileStringW(kSection, kKey, L"", stored, 260, path);
    return stored;
}

} // namespace

CString ReadStoredVersion(const CString& gameDir)
{
    std::wstring path = IniPath(gameDir);
    std::string bytes;
    if (!ReadBytes(path, bytes)) return CString();
    if (IsUtf16(bytes) && path.size() < MAX_PATH) return ReadValue(path.c_str());
    return ReadValue(ScratchIni(DecodeIni(bytes)).Path());
}

bool WriteStoredVersion(const CString& gameDir, const CString& label)
{
    std::wstring path = IniPath(gameDir);
    // Windows refuses to replace a read-only file; so do we, wherever that is not enforced.
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    std::string bytes;
    ScratchIni scratch(ReadBytes(path, bytes) ? DecodeIni(bytes) : std::wstring());
    if (!scratch.Path() || !WritePrivateProfileStringW(kSection, kKey, label, scratch.Path()) || !ReadBytes(scratch.Path(), bytes))
        return false;
    // Written beside, flushed and renamed: an interrupted write or a power cut leaves the old file, never an empty one.
    return WriteFileDurably(path, TemporaryIniPath(path), bytes) == 0;
}
