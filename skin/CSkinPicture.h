#pragma once
#include "framework/CStatic.h"
#include "skin/KeyedPicture.h"

// A picture static drawn as the skin draws the window: its template picture at its own size over
// whatever the parent painted beneath, the key colour left out, and no brush anywhere.
class CSkinPicture : public CStatic {
protected:
    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;

    // The picture the static loaded from the template; the static keeps it.
    HBITMAP m_hPicture = nullptr;
    KeyedPicture m_keyedPicture;
};
