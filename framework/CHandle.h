#pragma once
#include <windows.h>

// Owns one kernel handle and closes it when destroyed; move-only. Both failure values of the
// kernel's functions (null and INVALID_HANDLE_VALUE) count as no handle.
class CHandle {
public:
    CHandle() = default;
    explicit CHandle(HANDLE handle) : m_h(handle) {}
    ~CHandle() { Close(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    CHandle(CHandle&& other) noexcept : m_h(other.Detach()) {}
    CHandle& operator=(CHandle&& other) noexcept
    {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    bool IsValid() const { return m_h && m_h != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return IsValid(); }
    operator HANDLE() const { return m_h; }

    // Takes ownership; a different handle owned before is closed.
    void Attach(HANDLE handle)
    {
        if (handle != m_h) Close();
        m_h = handle;
    }
    HANDLE Detach()
    {
        HANDLE handle = m_h;
        m_h = nullptr;
        return handle;
    }
    // False when there was nothing to close or closing failed.
    bool Close()
    {
        HANDLE handle = Detach();
        return handle && handle != INVALID_HANDLE_VALUE && CloseHandle(handle) != FALSE;
    }

private:
    HANDLE m_h = nullptr;
};
