#pragma once
#include "framework/CWnd.h"

// A static text or picture; owner-drawn ones draw in DrawItem, which the parent reflects here.
class CStatic : public CWnd {
public:
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
