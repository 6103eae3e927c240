#pragma once
#include "framework/CGdiObject.h"

// A bitmap, usually loaded from the executable's resources.
class CBitmap : public CGdiObject {
public:
    bool LoadBitmap(unsigned int resourceId);
    // Fills the description; false when there is no bitmap.
    bool GetBitmap(BITMAP* info) const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
