// Linked into a test launcher only. KELVADI_FAULT makes the Nth file operation of a switch fail
// the way the world makes it fail (N may also be a point's name, for its first pass, or "name+K" for the
// Kth operation after it): "kill:N" ends the process; "fill:N" fills the game folder's
// volume; "lock:N:name" opens a game file without sharing for good; "hold:N:name:ms" opens one
// for reading, as a scanner does, for ms milliseconds; "pause:N:ms" waits; "vanish:N:name" deletes
// the file as soon as a new one takes its place, as a scanner that quarantines it does; "remove:N:name"
// deletes it there and then.
#include "switching/FaultPoint.h"
#include <windows.h>
#include <cwchar>
#include <string>

namespace {

std::wstring g_kind, g_name;
std::string g_point;
int g_at = 0, g_step = 0, g_after = -1;
DWORD g_ms = 0;

std::wstring GameFile(const std::wstring& name)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring exe(path, length);
    return exe.substr(0, exe.find_last_of(L'\\') + 1) + name;
}

DWORD WINAPI CloseLater(void* handle)
{
    Sleep(g_ms);
    CloseHandle(handle);
    return 0;
}

void Fill()
{
    HANDLE file = CreateFileW(GameFile(L"filler.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    static char block[1 << 16];
    DWORD written = 0;
    while (WriteFile(file, block, sizeof block, &written, nullptr) && written == sizeof block) {}
    while (WriteFile(file, block, 512, &written, nullptr) && written == 512) {}
    CloseHandle(file);
}

DWORD WINAPI DeleteWhenReplaced(void*)
{
    std::wstring path = GameFile(g_name);
    WIN32_FILE_ATTRIBUTE_DATA before{}, now{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &before);
    for (int i = 0; i < 60000; ++i) {
        if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &now) &&
            CompareFileTime(&now.ftLastWriteTime, &before.ftLastWriteTime) != 0) {
            DeleteFileW(path.c_str());
            return 0;
        }
        Sleep(1);
    }
    return 0;
}

// The launcher's own threads may have the file open for a moment (the originals are summed while
// staging runs): the lock is taken once they let go, as another program's would be.
void Lock()
{
    for (int tries = 0; tries < 400; ++tries) {
        if (CreateFileW(GameFile(g_name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) != INVALID_HANDLE_VALUE ||
            GetLastError() != ERROR_SHARING_VIOLATION)
            return;
        Sleep(5);
    }
}

void OnStep(const char* point)
{
    ++g_step;
    if (!g_point.empty() && point && g_point == point) {
        g_point = "\n";
        g_at = g_step + (g_after > 0 ? g_after : 0);
    }
    if (g_step != g_at) return;
    if (g_kind == L"kill") TerminateProcess(GetCurrentProcess(), 99);
    if (g_kind == L"fill") Fill();
    if (g_kind == L"pause") Sleep(g_ms);
    if (g_kind == L"lock") Lock();
    if (g_kind == L"remove") DeleteFileW(GameFile(g_name).c_str());
    if (g_kind == L"vanish") CloseHandle(CreateThread(nullptr, 0, DeleteWhenReplaced, nullptr, 0, nullptr));
    if (g_kind == L"hold") {
        HANDLE held = CreateFileW(GameFile(g_name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        CloseHandle(CreateThread(nullptr, 0, CloseLater, held, 0, nullptr));
    }
}

struct Install {
    Install()
    {
        wchar_t value[300];
        DWORD length = GetEnvironmentVariableW(L"KELVADI_FAULT", value, 300);
        if (length == 0 || length >= 300) return;
        std::wstring request(value, length);
        size_t first = request.find(L':');
        if (first == std::wstring::npos) return;
        g_kind = request.substr(0, first);
        wchar_t* rest = nullptr;
        g_at = static_cast<int>(std::wcstol(request.c_str() + first + 1, &rest, 10));
        if (rest == request.c_str() + first + 1) {
            while (*rest && *rest != L':' && *rest != L'+') g_point += static_cast<char>(*rest++);
            if (*rest == L'+') g_after = static_cast<int>(std::wcstol(rest + 1, &rest, 10));
        }
        if (g_kind == L"pause") g_ms = std::wcstoul(rest + (*rest == L':'), nullptr, 10);
        if ((g_kind == L"lock" || g_kind == L"hold" || g_kind == L"vanish" || g_kind == L"remove") && *rest == L':') {
            std::wstring tail(rest + 1);
            size_t colon = tail.find(L':');
            g_name = tail.substr(0, colon);
            if (colon != std::wstring::npos) g_ms = std::wcstoul(tail.c_str() + colon + 1, nullptr, 10);
        }
        SetFaultHook(OnStep);
    }
} g_install;

} // namespace
