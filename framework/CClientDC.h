#pragma once
#include "framework/CDC.h"
#include "framework/CWnd.h"

// A window's client-area context, released on destruction.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd) : m_hWndOwner(wnd ? wnd->m_hWnd : nullptr) { m_hDC = ::GetDC(m_hWndOwner); }
    ~CClientDC() override
    {
        if (m_hDC) ::ReleaseDC(m_hWndOwner, m_hDC);
        m_hDC = nullptr;
    }

private:
    HWND m_hWndOwner;
};
