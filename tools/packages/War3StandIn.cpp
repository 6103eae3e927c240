#include <windows.h>

// Stand-in for the game's executable: it shows nothing and appends one record per start
// to "war3_ran.txt" in its own folder, for tests of the start command.
// The file is UTF-16LE, begins with a byte-order mark (written when the file is new) and
// uses CRLF line ends; each start appends the four lines
//   war3.exe ran
//   WorkingDirectory=<the current directory at start>
//   CommandLine=<the full command line, exactly as GetCommandLineW gives it>
//   GameDll=<the FileVersion text of the game.dll beside it, "1, 24, 4, 6387"; empty without one>
// Then it stays as many milliseconds as the decimal number in "war3_wait.txt" beside it says
// (at most ten minutes), as a game that is played would; without that file it ends at once.
// Exit status 0 when the record was written, 1 when it could not be.
// Plain fixed buffers instead of the C++ library keep the program small.

namespace {

const DWORD kLongPath = 32768;
const DWORD kLongestWait = 600000;
wchar_t g_record[4 * kLongPath + 64];
wchar_t g_file[kLongPath + 16];
wchar_t g_directory[kLongPath];
unsigned char g_versionInfo[64 * 1024];

// Appends text at *at, never past the record's end.
bool Append(DWORD* at, const wchar_t* text)
{
    for (; *text; ++text) {
        if (*at + 1 >= sizeof g_record / sizeof g_record[0]) return false;
        g_record[(*at)++] = *text;
    }
    g_record[*at] = L'\0';
    return true;
}

// Four lowercase hex digits of value at out, as version-resource queries name a translation.
void Hex4(wchar_t* out, WORD value)
{
    for (int digit = 3; digit >= 0; --digit, value >>= 4) out[digit] = L"0123456789abcdef"[value & 0xF];
}

// The FileVersion text of the DLL at path, of its first translation, as the launcher reads it;
// nothing when it has none.
bool AppendFileVersion(DWORD* at, const wchar_t* path)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    WORD* translation = nullptr;
    UINT length = 0;
    if (size == 0 || size > sizeof g_versionInfo || !GetFileVersionInfoW(path, 0, size, g_versionInfo) ||
        !VerQueryValueW(g_versionInfo, L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
        !translation || length < 2 * sizeof(WORD))
        return true;
    wchar_t query[] = L"\\StringFileInfo\\xxxxxxxx\\FileVersion";
    Hex4(query + 16, translation[0]);
    Hex4(query + 20, translation[1]);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(g_versionInfo, query, reinterpret_cast<void**>(&value), &length) || !value) return true;
    // The reported length counts the terminator on some systems and not on others.
    for (UINT unit = 0; unit < length && value[unit]; ++unit) {
        const wchar_t one[2] = {value[unit], L'\0'};
        if (!Append(at, one)) return false;
    }
    return true;
}

// The wait that the file at path asks for; 0 when it is absent or says no number.
DWORD WaitAskedFor(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    char text[16];
    DWORD got = 0;
    if (!ReadFile(file, text, sizeof text, &got, nullptr)) got = 0;
    CloseHandle(file);
    DWORD wait = 0;
    DWORD at = 0;
    while (at < got && (text[at] == ' ' || text[at] == '\t')) ++at;
    for (; at < got && text[at] >= '0' && text[at] <= '9'; ++at) {
        wait = wait * 10 + static_cast<DWORD>(text[at] - '0');
        if (wait > kLongestWait) return kLongestWait;
    }
    return wait;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    // XP leaves a truncated path unterminated and returns the buffer size.
    DWORD length = GetModuleFileNameW(nullptr, g_file, kLongPath);
    if (length == 0 || length >= kLongPath) return 1;
    while (length > 0 && g_file[length - 1] != L'\\' && g_file[length - 1] != L'/') --length;
    if (length == 0) return 1;

    DWORD got = GetCurrentDirectoryW(kLongPath, g_directory);
    if (got == 0 || got >= kLongPath) g_directory[0] = L'\0';

    DWORD at = 0;
    lstrcpyW(g_file + length, L"game.dll");
    if (!Append(&at, L"war3.exe ran\r\nWorkingDirectory=") || !Append(&at, g_directory) ||
        !Append(&at, L"\r\nCommandLine=") || !Append(&at, GetCommandLineW()) || !Append(&at, L"\r\nGameDll=") ||
        !AppendFileVersion(&at, g_file) || !Append(&at, L"\r\n"))
        return 1;

    lstrcpyW(g_file + length, L"war3_ran.txt");
    HANDLE file = CreateFileW(g_file, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    BOOL ok = TRUE;
    DWORD written = 0;
    if (GetFileSize(file, nullptr) == 0) {
        const wchar_t bom = L'\xFEFF';
        ok = WriteFile(file, &bom, sizeof bom, &written, nullptr) && written == sizeof bom;
    }
    DWORD bytes = at * sizeof(wchar_t);
    ok = ok && WriteFile(file, g_record, bytes, &written, nullptr) && written == bytes;
    ok = CloseHandle(file) && ok;

    lstrcpyW(g_file + length, L"war3_wait.txt");
    Sleep(WaitAskedFor(g_file));
    return ok ? 0 : 1;
}
