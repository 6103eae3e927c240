#pragma once
#include <windows.h>
#include <ole2.h>

// Holds one reference to a COM interface and releases it when destroyed or replaced.
template <class T>
class CComPtr {
public:
    CComPtr() = default;
    CComPtr(T* object) : m_p(object) { if (m_p) m_p->AddRef(); }
    CComPtr(const CComPtr& other) : CComPtr(other.m_p) {}
    CComPtr(CComPtr&& other) noexcept : m_p(other.Detach()) {}
    ~CComPtr() { Release(); }
    CComPtr& operator=(const CComPtr& other)
    {
        CComPtr copy(other);
        Swap(copy);
        return *this;
    }
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != &other) {
            Release();
            m_p = other.Detach();
        }
        return *this;
    }
    CComPtr& operator=(T* object)
    {
        CComPtr copy(object);
        Swap(copy);
        return *this;
    }

    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }
    T* Get() const { return m_p; }
    // For out-parameters: the pointer must be empty, so that nothing held is overwritten.
    T** operator&() { Release(); return &m_p; }
    void Release()
    {
        T* object = m_p;
        m_p = nullptr;
        if (object) object->Release();
    }
    T* Detach()
    {
        T* object = m_p;
        m_p = nullptr;
        return object;
    }
    // Another interface of the same object; empty when it has none.
    template <class Q> HRESULT QueryInterface(CComPtr<Q>& out) const
    {
        out.Release();
        return m_p ? m_p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(&out)) : E_POINTER;
    }

private:
    void Swap(CComPtr& other)
    {
        T* object = m_p;
        m_p = other.m_p;
        other.m_p = object;
    }
    T* m_p = nullptr;
};
