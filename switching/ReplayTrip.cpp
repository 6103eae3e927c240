#include "switching/ReplayTrip.h"
#include "framework/CHandle.h"
#include "framework/LongPath.h"
#include "switching/DurableFile.h"
#include "switching/SwitchTransaction.h"

const wchar_t ReplayTrip::kRecord[] = L"~kelvadi-replay";
const wchar_t ReplayTrip::kCopy[] = L"Replay\\kelvadi-replay.w3g";

namespace {

const wchar_t kHeader[] = L"kelvadi replay trip 1";

bool SpelledInAnsi(const std::wstring& text)
{
    // A code page without best-fit mappings (UTF-8) refuses the flags and the question: then a copy.
    BOOL lossy = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
    return length > 0 && length <= MAX_PATH && !lossy;
}

DWORD CopyFrom(const std::wstring& from, unsigned long long offset, const std::wstring& to)
{
    CHandle source(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER start;
    start.QuadPart = static_cast<LONGLONG>(offset);
    if (!source || !SetFilePointerEx(source, start, nullptr, FILE_BEGIN)) return GetLastError();
    CHandle target(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target) return GetLastError();
    static char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0, written = 0;
        if (!ReadFile(source, buffer, sizeof buffer, &got, nullptr)) return GetLastError();
        if (got == 0) return 0;
        if (!WriteFile(target, buffer, got, &written, nullptr) || written != got) return GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    }
}

} // namespace

DWORD ReplayTrip::Write(const GameFolder& folder) const
{
    std::wstring text = std::wstring(kHeader) + L"\n" + earlier.Str() + L"\n";
    std::wstring path = folder.Path(kRecord);
    return WriteFileDurably(path, path + L".tmp", std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)));
}

bool ReplayTrip::Read(const GameFolder& folder)
{
    CHandle file(CreateFileW(folder.Path(kRecord).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    wchar_t text[512];
    DWORD got = 0;
    if (!file || !ReadFile(file, text, sizeof text - sizeof text[0], &got, nullptr)) return false;
    std::wstring lines(text, got / sizeof text[0]);
    size_t first = lines.find(L'\n');
    size_t second = first == std::wstring::npos ? first : lines.find(L'\n', first + 1);
    if (second == std::wstring::npos || lines.compare(0, first, kHeader) != 0) return false;
    earlier = lines.substr(first + 1, second - first - 1).c_str();
    return true;
}

bool ReplayTrip::Remove(const GameFolder& folder)
{
    bool copyGone = RemoveFileRetrying(folder.Path(kCopy));
    return RemoveFileRetrying(folder.Path(kRecord)) && copyGone;
}

DWORD ReplayPathForGame(const GameFolder& folder, const CString& path, unsigned long long offset, CString& forGame)
{
    if (offset == 0 && SpelledInAnsi(path.Str())) {
        forGame = path;
        return 0;
    }
    CreateDirectoryW(folder.Path(L"Replay").c_str(), nullptr);
    DWORD error = CopyFrom(LongPathForm(path.Str()), offset, folder.Path(ReplayTrip::kCopy));
    if (error) {
        RemoveFileRetrying(folder.Path(ReplayTrip::kCopy), 1);
        return error;
    }
    forGame = folder.Shown(ReplayTrip::kCopy);
    // A game folder the code page cannot spell cannot be helped by any copy inside it.
    return SpelledInAnsi(forGame.Str()) ? 0 : ERROR_NO_UNICODE_TRANSLATION;
}
