#pragma once
#include "framework/CBitmap.h"
#include "framework/CBrush.h"
#include "framework/CEdit.h"
#include "framework/CFont.h"

// An edit whose border is the frame picture and whose text has a fixed font and colours;
// owns its picture, font and background brush.
class CSkinEdit : public CEdit {
public:
    CSkinEdit();
    ~CSkinEdit() override = default;

    // The reflected colour request: a fresh brush of the background colour each time.
    HBRUSH CtlColor(CDC* dc, UINT ctlType);

protected:
    void OnNcPaint();

    CBitmap m_bmpFrame;
    CFont m_font;
    CBrush m_brBack;
    COLORREF m_crBack;
    COLORREF m_crText;

    DECLARE_MESSAGE_MAP()
};
