#pragma once
#include "framework/CDC.h"
#include "framework/CWnd.h"

// A context for the whole window, non-client area included, released on destruction.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd) : m_hWndOwner(wnd ? wnd->m_hWnd : nullptr) { m_hDC = ::GetWindowDC(m_hWndOwner); }
    ~CWindowDC() override
    {
        if (m_hDC) ::ReleaseDC(m_hWndOwner, m_hDC);
        m_hDC = nullptr;
    }

private:
    HWND m_hWndOwner;
};
