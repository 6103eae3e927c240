#pragma once
#include "framework/CGdiObject.h"

// A logical font.
class CFont : public CGdiObject {
public:
    bool CreateFontIndirect(const LOGFONTW* description)
    {
        return description && Attach(::CreateFontIndirectW(description));
    }
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, const wchar_t* faceName)
    {
        return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                    charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
    }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};
