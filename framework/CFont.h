#pragma once
#include "framework/CGdiObject.h"

// A logical font.
class CFont : public CGdiObject {
public:
    bool CreateFontIndirect(const LOGFONTW* description)
    {
        return description && Attach(::CreateFontIndirectW(description));
    }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};
