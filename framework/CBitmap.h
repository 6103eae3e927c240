#pragma once
#include "framework/CGdiObject.h"

class CDC;

// A bitmap, usually loaded from the executable's resources.
class CBitmap : public CGdiObject {
public:
    bool LoadBitmap(unsigned int resourceId);
    bool CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    bool CreateCompatibleBitmap(CDC* dc, int width, int height);
    // Fills the description; false when there is no bitmap.
    bool GetBitmap(BITMAP* info) const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
