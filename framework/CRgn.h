#pragma once
#include "framework/CGdiObject.h"

// A region, such as a window outline.
class CRgn : public CGdiObject {
public:
    bool CreateRectRgn(int left, int top, int right, int bottom)
    {
        return Attach(::CreateRectRgn(left, top, right, bottom));
    }
    // Combines a and b into this region, which must exist; returns the region kind or ERROR.
    int CombineRgn(HRGN a, HRGN b, int mode)
    {
        return m_hObject ? ::CombineRgn(*this, a, b, mode) : ERROR;
    }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};
