#pragma once
#include "framework/CHandle.h"
#include <windows.h>
#include <functional>

// A function run on a thread of its own. Waiting for it waits for the function to return, not for
// the thread to end: a thread's own ending tells every loaded library, a millisecond or two under
// Wine, and nothing of the function runs by then.
class CWorkerThread {
public:
    CWorkerThread() = default;
    // Waits for the function.
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Runs function on a new thread, once one started before has returned; false when no thread
    // could be had, and the caller must do without. Nothing may leave the function: what does is
    // dropped.
    bool Start(std::function<void()> function);
    // Returns once the function has returned; at once when none was started. The object can then
    // start another.
    void Wait();
    // Whether a function was started and not waited for.
    explicit operator bool() const { return m_thread.IsValid(); }

private:
    static DWORD WINAPI Run(void* self);

    std::function<void()> m_function;
    CHandle m_returned;
    CHandle m_thread;
};
