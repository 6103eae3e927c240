#include "skin/CSkinStatic.h"
#include "framework/CClientDC.h"
#include "framework/CFont.h"
#include "skin/RectText.h"

BEGIN_MESSAGE_MAP(CSkinStatic, CStatic)
END_MESSAGE_MAP()

namespace {

int HexDigit(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9') return ch - L'0';
    if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
    return -1;
}

} // namespace

COLORREF ParseColor(CString text)
{
    // Read as wide characters: only ASCII digits count, so a full-width digit cannot become a
    // hexadecimal one the way a best-fit conversion to the ANSI code page would make it.
    int hash = text.Find(L"#");
    if (hash < 0) return RGB(0, 0, 0);
    DWORD value = 0;
    for (int k = 0, i = hash + 1; i < text.GetLength(); ++k, ++i) {
        int digit = HexDigit(text.GetAt(i));
        if (digit < 0) return RGB(0, 0, 0);
        value |= static_cast<DWORD>(digit) << (4 * (k % 8));
    }
    // The digits went in low nibble first; swapping each byte's halves gives 0xBBGGRR for #RRGGBB.
    return ((value & 0x0F0F0F0F) << 4) | ((value & 0xF0F0F0F0) >> 4);
}

UINT ParseTextAlignment(const CString& alignment)
{
    if (alignment == CString(L"right")) return DT_RIGHT;
    if (alignment == CString(L"center")) return DT_CENTER;
    return DT_LEFT;
}

void CSkinStatic::SetStyle(CString face, CString size, CString color, CString alignment)
{
    m_crText = ParseColor(color);
    m_nFontHeight = ParseDecimal(size);
    m_strFontFace = face;
    m_nTextFormat = ParseTextAlignment(alignment);
}

void CSkinStatic::SetPlacement(CString rectText)
{
    if (rectText.GetLength() < 2) {
        SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_HIDEWINDOW);
        return;
    }
    RECT placement = rectText.GetLength() < 3 ? RECT{0, 0, 0, 0} : ParseRect(rectText);
    m_rcPlacement = placement;
    m_nPlacementWidth = placement.right - placement.left;
    SetWindowPos(HWND_TOP, placement.left, placement.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CSkinStatic::PreSubclassWindow()
{
    // The type bits are a number, not flags: ORing owner-draw into a centred or right-aligned
    // static would make it another type of static, so the type is replaced.
    ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);
    CStatic::PreSubclassWindow();
}

void CSkinStatic::DrawItem(LPDRAWITEMSTRUCT item)
{
    if (!item) return;
    RECT textRect = item->rcItem;
    textRect.right = m_nPlacementWidth;
    CString text = GetWindowText();
    CFont font;
    font.CreateFont(m_nFontHeight, 0, 0, 0, m_nFontWeight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, m_strFontFace);
    CClientDC dc(this);
    CSelectGuard selectFont(dc, font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_crText);
    dc.DrawText(text, &textRect, m_nTextFormat);
}
