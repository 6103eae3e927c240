#pragma once
#include "framework/CGdiObject.h"

// Owns one GDI font; CreateFont takes the same arguments as the system call.
class CFont : public CGdiObject {
public:
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const wchar_t* face)
    {
        return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                    charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face ? face : L""));
    }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};
