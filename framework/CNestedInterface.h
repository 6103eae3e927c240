#pragma once
#include <windows.h>
#include <ole2.h>

// Base of an interface implemented as a nested member of a CCmdTarget: it has no reference
// count of its own, so every interface of the object shares the object's identity and count.
template <class Interface, class Outer>
class CNestedInterface : public Interface {
public:
    explicit CNestedInterface(Outer* outer) : m_pThis(outer) {}
    CNestedInterface(const CNestedInterface&) = delete;
    CNestedInterface& operator=(const CNestedInterface&) = delete;
    virtual ~CNestedInterface() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        return m_pThis->ExternalQueryInterface(&iid, object);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_pThis->ExternalAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_pThis->ExternalRelease(); }

protected:
    Outer* m_pThis;
};
