#pragma once
#include <windows.h>

// A device context: owned (memory contexts, deleted when destroyed) or borrowed (attached, never freed).
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC borrowed) : m_hDC(borrowed) {}
    virtual ~CDC() { DeleteDC(); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    bool CreateCompatibleDC(CDC* other);
    bool DeleteDC();
    void Attach(HDC borrowed) { DeleteDC(); m_hDC = borrowed; }
    HDC Detach() { HDC dc = m_hDC; m_hDC = nullptr; m_owned = false; return dc; }

    HGDIOBJ SelectObject(HGDIOBJ object) { return m_hDC && object ? ::SelectObject(m_hDC, object) : nullptr; }
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    bool BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop);
    bool TransparentBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, int sw, int sh,
                        UINT transparent);
    int DrawText(const wchar_t* text, RECT* rect, UINT format);
    bool DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon) != FALSE; }
    void FillSolidRect(const RECT* rect, COLORREF color);
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

protected:
    HDC m_hDC = nullptr;
    bool m_owned = false;
};

// Restores what a DC had selected before; declare it after the DC so it goes first.
class CSelectGuard {
public:
    CSelectGuard(CDC& dc, HGDIOBJ object) : m_dc(dc), m_previous(dc.SelectObject(object)) {}
    ~CSelectGuard() { if (m_previous) m_dc.SelectObject(m_previous); }
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;

private:
    CDC& m_dc;
    HGDIOBJ m_previous;
};
