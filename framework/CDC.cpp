#include "framework/CDC.h"

bool CDC::CreateCompatibleDC(CDC* other)
{
    DeleteDC();
    m_hDC = ::CreateCompatibleDC(other ? other->m_hDC : nullptr);
    m_owned = m_hDC != nullptr;
    return m_owned;
}

bool CDC::DeleteDC()
{
    bool ok = true;
    if (m_hDC && m_owned) ok = ::DeleteDC(m_hDC) != FALSE;
    m_hDC = nullptr;
    m_owned = false;
    return ok;
}

bool CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sx, sy, rop) != FALSE;
}

bool CDC::TransparentBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, int sw, int sh,
                         UINT transparent)
{
    if (!source) return false;
    return ::TransparentBlt(m_hDC, x, y, width, height, source->m_hDC, sx, sy, sw, sh, transparent) != FALSE;
}

int CDC::DrawText(const wchar_t* text, RECT* rect, UINT format)
{
    return ::DrawTextW(m_hDC, text ? text : L"", -1, rect, format);
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color)
{
    COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}
