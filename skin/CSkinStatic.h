#pragma once
#include "framework/CStatic.h"
#include "framework/CString.h"

// A text label that draws its window text itself, in its own font and colour, over whatever the
// parent painted beneath it.
class CSkinStatic : public CStatic {
public:
    CSkinStatic() = default;

    // Face, cell height, "#RRGGBB" colour and "left", "center" or "right"; shows at the next paint.
    void SetStyle(CString face, CString size, CString color, CString alignment);
    // Moves the label to the rectangle's top-left corner without resizing it; the text is laid out
    // and clipped within the rectangle's width. A text under two characters hides the label.
    void SetPlacement(CString rectText);

    const RECT& GetPlacement() const { return m_rcPlacement; }
    int GetPlacementWidth() const { return m_nPlacementWidth; }

protected:
    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;

    CString m_strFontFace;
    // A label that is never styled or placed draws nothing: black, default height, left, no width.
    COLORREF m_crText = RGB(0, 0, 0);
    int m_nFontHeight = 0;
    RECT m_rcPlacement{0, 0, 0, 0};
    UINT m_nTextFormat = DT_LEFT;
    int m_nPlacementWidth = 0;

public:
    int m_nFontWeight = FW_NORMAL;

    DECLARE_MESSAGE_MAP()
};

// "#" and hexadecimal digits to a colour: "#RRGGBB" gives RGB(RR, GG, BB); any text without "#" or
// with anything but digits after it gives black. Shorter or longer forms are not expanded.
COLORREF ParseColor(CString text);
// The drawing flag of an alignment word, compared exactly; anything else is left.
UINT ParseTextAlignment(const CString& alignment);
