#pragma once
#include "Wait.h"
#include "Window.h"
#include "framework/CHandle.h"
#include <windows.h>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Owns a started program's process handle and a job holding it and the processes it starts; whatever
// of them still runs on destruction is killed, so a failing test never leaves a program behind.
class Process {
public:
    enum class Output { Inherited, Discarded };

    // Starts exe with arguments (appended after the quoted exe path) in workingDir (the caller's when
    // empty); a benchmark discards the output so that the console costs nothing. Check Started();
    // Error() says why it did not.
    static Process Start(const std::wstring& exe, const std::wstring& arguments = std::wstring(),
                         const std::wstring& workingDir = std::wstring(), Output output = Output::Inherited);

    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    bool Started() const { return handle_.IsValid(); }
    const std::wstring& Error() const { return error_; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return handle_; }
    bool IsRunning() const;

    // The exit code once the process has ended; nothing if it is still running after timeoutMs.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs) const;
    // WaitForInputIdle: true once the program waits for input with an empty queue.
    bool WaitForInputIdle(DWORD timeoutMs = kDefaultTimeoutMs) const;
    // Terminates the process and any it started, and waits (bounded) for it to end; true when it has.
    bool Kill(UINT exitCode = 1);

    std::vector<Window> TopLevelWindows(bool visibleOnly = true) const;
    // The first visible top-level window that matches; an empty Window on timeout or when the
    // process ends first.
    Window WaitForWindow(const std::function<bool(const Window&)>& match,
                         DWORD timeoutMs = kDefaultTimeoutMs) const;
    // By class (e.g. L"#32770" for dialogs) and exact caption; an empty caption matches any.
    Window WaitForWindow(const std::wstring& className, const std::wstring& caption,
                         DWORD timeoutMs = kDefaultTimeoutMs) const;
    // A message box: a dialog with the message-text static. An empty caption matches any.
    Window WaitForMessageBox(const std::wstring& caption = std::wstring(),
                             DWORD timeoutMs = kDefaultTimeoutMs) const;
    // True once no visible top-level window matches (or the process has ended).
    bool WaitForNoWindow(const std::function<bool(const Window&)>& match,
                         DWORD timeoutMs = kDefaultTimeoutMs) const;

    // The process's state and its top-level windows, one per line, for failure messages.
    std::wstring Describe() const;

private:
    void Close();

    CHandle handle_;
    CHandle job_;
    DWORD id_ = 0;
    std::wstring error_;
};
