#pragma once
#include "framework/CBitmap.h"
#include "framework/CButton.h"
#include "framework/CString.h"
#include "skin/KeyedPicture.h"

// A push button drawn as one of its two pictures, normal or hover, that sends its parent one
// BN_CLICKED command per click. Owns both pictures; the template gives it the owner-draw style.
class CSkinButton : public CButton {
public:
    CSkinButton() = default;

    // Loads both pictures and parses the placement; sizes come from the normal picture. Neither
    // moves nor redraws the button. Throws CInvalidArgException for a rectangle text of under
    // four fields, after the pictures were replaced.
    void SetSkin(UINT normalId, UINT hoverId, CString rectText);
    void DrawItem(LPDRAWITEMSTRUCT item) override;

    // Where the parent puts the button's top-left corner; right and bottom are not used.
    RECT m_rcPlacement{0, 0, 0, 0};

protected:
    CBitmap m_bmpNormal;
    CBitmap m_bmpHover;
    KeyedPicture m_keyedNormal;
    KeyedPicture m_keyedHover;

public:
    // The button's size on screen, the normal picture's.
    WORD m_nWidth = 0;
    WORD m_nHeight = 0;

protected:
    bool m_bPressed = false;
    bool m_bHover = false;

    BOOL OnEraseBkgnd(CDC* dc);
    void OnMouseMove(UINT flags, POINT point);
    void OnMouseLeave();
    void OnLButtonUp(UINT flags, POINT point);
    void OnLButtonDown(UINT flags, POINT point);

private:
    void Perform(unsigned actions);
    void Redraw();

    DECLARE_MESSAGE_MAP()
};
