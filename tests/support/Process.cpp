#include "Process.h"
#include "MessageBoxWindow.h"
#include <utility>

namespace {

std::wstring SystemMessage(DWORD code)
{
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = L"error " + std::to_wstring(code);
    if (n && text) {
        std::wstring body(text, n);
        while (!body.empty() && (body.back() == L'\n' || body.back() == L'\r')) body.pop_back();
        message += L": " + body;
    }
    if (text) LocalFree(text);
    return message;
}

} // namespace

Process Process::Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& workingDir,
                       Output output)
{
    Process process;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    // CreateProcessW may write into the command line.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    CHandle nul;
    if (output == Output::Discarded) {
        nul.Attach(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr));
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    }
    PROCESS_INFORMATION info = {};
    // Suspended until it is in the job, so nothing it starts can escape the job.
    if (!CreateProcessW(exe.c_str(), buffer.data(), nullptr, nullptr, nul.IsValid(), CREATE_SUSPENDED, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info)) {
        process.error_ = L"cannot start " + exe + L": " + SystemMessage(GetLastError());
        return process;
    }
    // Without a job (none to be had, or this process is in one already) only the process itself is
    // killed at the end; the test still runs.
    process.job_.Attach(CreateJobObjectW(nullptr, nullptr));
    if (process.job_ && !AssignProcessToJobObject(process.job_, info.hProcess)) process.job_.Close();
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    process.handle_.Attach(info.hProcess);
    process.id_ = info.dwProcessId;
    return process;
}

Process::Process(Process&& other) noexcept
    : handle_(std::move(other.handle_)), job_(std::move(other.job_)), id_(std::exchange(other.id_, 0)),
      error_(std::move(other.error_))
{
}

Process& Process::operator=(Process&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = std::move(other.handle_);
        job_ = std::move(other.job_);
        id_ = std::exchange(other.id_, 0);
        error_ = std::move(other.error_);
    }
    return *this;
}

Process::~Process()
{
    Close();
}

void Process::Close()
{
    if (handle_) Kill();
    // The process may have ended by itself and left a child running.
    if (job_) TerminateJobObject(job_, 1);
    handle_.Close();
    job_.Close();
}

bool Process::IsRunning() const
{
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(DWORD timeoutMs) const
{
    if (!handle_ || WaitForSingleObject(handle_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(handle_, &code)) return std::nullopt;
    return code;
}

bool Process::WaitForInputIdle(DWORD timeoutMs) const
{
    return handle_ && ::WaitForInputIdle(handle_, timeoutMs) == 0;
}

bool Process::Kill(UINT exitCode)
{
    if (!handle_) return false;
    if (IsRunning() && !(job_ && TerminateJobObject(job_, exitCode))) TerminateProcess(handle_, exitCode);
    return WaitForSingleObject(handle_, 5000) == WAIT_OBJECT_0;
}

std::vector<Window> Process::TopLevelWindows(bool visibleOnly) const
{
    if (!handle_) return {};
    return Window::TopLevelWindowsOf(id_, visibleOnly);
}

Window Process::WaitForWindow(const std::function<bool(const Window&)>& match, DWORD timeoutMs) const
{
    Window found;
    WaitUntil(
        [&] {
            for (const Window& window : TopLevelWindows())
                if (match(window)) {
                    found = window;
                    return true;
                }
            // Checked after the search: a window shown just before exit is still missed, but a
            // process that is gone has no windows to wait for.
            return !IsRunning();
        },
        timeoutMs);
    return found;
}

Window Process::WaitForWindow(const std::wstring& className, const std::wstring& caption, DWORD timeoutMs) const
{
    return WaitForWindow(
        [&](const Window& window) {
            return window.ClassName() == className && (caption.empty() || window.Text() == caption);
        },
        timeoutMs);
}

Window Process::WaitForMessageBox(const std::wstring& caption, DWORD timeoutMs) const
{
    return WaitForWindow(
        [&](const Window& window) {
            return MessageBoxWindow::IsMessageBox(window) && (caption.empty() || window.Text() == caption);
        },
        timeoutMs);
}

bool Process::WaitForNoWindow(const std::function<bool(const Window&)>& match, DWORD timeoutMs) const
{
    return WaitUntil(
        [&] {
            for (const Window& window : TopLevelWindows())
                if (match(window)) return false;
            return true;
        },
        timeoutMs);
}

std::wstring Process::Describe() const
{
    if (!handle_) return L"process not started: " + error_;
    std::wstring text = L"process " + std::to_wstring(id_);
    if (auto code = WaitForExit(0))
        text += L" exited with " + std::to_wstring(*code);
    else
        text += L" running";
    for (const Window& window : TopLevelWindows(false)) text += L"\n  " + window.Describe();
    return text;
}
