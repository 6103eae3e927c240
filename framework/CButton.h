#pragma once
#include "framework/CWnd.h"

// A push button; owner-drawn ones draw in DrawItem, which the parent reflects here.
class CButton : public CWnd {
public:
    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
