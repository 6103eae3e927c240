#pragma once
#include <windows.h>

// Owns one GDI object and deletes it when destroyed; move-only.
class CGdiObject {
public:
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_hObject(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // The object's description (a BITMAP, LOGFONTW, ...); the bytes written, 0 without an object.
    int GetObject(int count, void* buffer) const { return m_hObject ? ::GetObjectW(m_hObject, count, buffer) : 0; }
    // Takes ownership; a different object owned before is deleted, the same one is kept.
    bool Attach(HGDIOBJ object)
    {
        if (object != m_hObject) DeleteObject();
        m_hObject = object;
        return object != nullptr;
    }
    HGDIOBJ Detach()
    {
        HGDIOBJ object = m_hObject;
        m_hObject = nullptr;
        return object;
    }
    bool DeleteObject()
    {
        if (!m_hObject) return false;
        bool ok = ::DeleteObject(m_hObject) != FALSE;
        m_hObject = nullptr;
        return ok;
    }

protected:
    HGDIOBJ m_hObject = nullptr;
};
