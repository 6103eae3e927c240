#pragma once
#include "framework/CDC.h"
#include "framework/CWnd.h"

// The context of one WM_PAINT: begins painting on construction, ends it on destruction.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd) : m_hWndPaint(wnd ? wnd->m_hWnd : nullptr)
    {
        m_hDC = ::BeginPaint(m_hWndPaint, &m_ps);
    }
    ~CPaintDC() override
    {
        if (m_hDC) ::EndPaint(m_hWndPaint, &m_ps);
        m_hDC = nullptr;
    }
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWndPaint;
};
