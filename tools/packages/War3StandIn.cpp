#include <windows.h>

// Stand-in for the game's executable: it shows nothing and appends one record per start
// to "war3_ran.txt" in its own folder, for tests of the start command.
// The file is UTF-16LE, begins with a byte-order mark (written when the file is new) and
// uses CRLF line ends; each start appends the three lines
//   war3.exe ran
//   WorkingDirectory=<the current directory at start>
//   CommandLine=<the full command line, exactly as GetCommandLineW gives it>
// Exit status 0 when the record was written, 1 when it could not be.
// Plain fixed buffers instead of the C++ library keep the program small.

namespace {

const DWORD kLongPath = 32768;
wchar_t g_record[3 * kLongPath + 64];
wchar_t g_file[kLongPath + 16];
wchar_t g_directory[kLongPath];

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

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    // XP leaves a truncated path unterminated and returns the buffer size.
    DWORD length = GetModuleFileNameW(nullptr, g_file, kLongPath);
    if (length == 0 || length >= kLongPath) return 1;
    while (length > 0 && g_file[length - 1] != L'\\' && g_file[length - 1] != L'/') --length;
    if (length == 0) return 1;
    lstrcpyW(g_file + length, L"war3_ran.txt");

    DWORD got = GetCurrentDirectoryW(kLongPath, g_directory);
    if (got == 0 || got >= kLongPath) g_directory[0] = L'\0';

    DWORD at = 0;
    if (!Append(&at, L"war3.exe ran\r\nWorkingDirectory=") || !Append(&at, g_directory) ||
        !Append(&at, L"\r\nCommandLine=") || !Append(&at, GetCommandLineW()) || !Append(&at, L"\r\n"))
        return 1;

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
    return CloseHandle(file) && ok ? 0 : 1;
}
