#include "skin/CSkinButton.h"
#include "skin/RectText.h"
#include "skin/SkinButtonState.h"

namespace {
const COLORREF kKeyColor = RGB(255, 0, 255);
}

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CSkinButton::SetSkin(UINT normalId, UINT hoverId, CString rectText)
{
    m_keyedNormal.Reset();
    m_keyedHover.Reset();
    m_bmpNormal.DeleteObject();
    m_bmpNormal.LoadBitmap(normalId);
    // A picture that did not load gives size 0: the button then draws nothing.
    BITMAP info{};
    m_bmpNormal.GetBitmap(&info);
    m_nWidth = static_cast<WORD>(info.bmWidth);
    m_nHeight = static_cast<WORD>(info.bmHeight);
    m_bmpHover.DeleteObject();
    m_bmpHover.LoadBitmap(hoverId);
    m_rcPlacement = ParseRect(rectText);
}

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    if (!item) return;
    CDC target(item->hDC);
    KeyedPicture& picture = m_bHover ? m_keyedHover : m_keyedNormal;
    picture.Draw(target, 0, 0, m_nWidth, m_nHeight, m_bHover ? m_bmpHover : m_bmpNormal, 0, 0, kKeyColor);
}

BOOL CSkinButton::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CSkinButton::OnMouseMove(UINT, POINT point)
{
    Default();
    RECT client;
    GetClientRect(&client);
    Perform(SkinButtonStep(PtInRect(&client, point) ? SkinPointerEvent::MoveInside : SkinPointerEvent::MoveOutside,
                           m_bHover, m_bPressed));
}

void CSkinButton::OnMouseLeave()
{
    Default();
    m_bHover = false;
    InvalidateRect(nullptr, false);
}

void CSkinButton::OnLButtonUp(UINT, POINT)
{
    // The capture goes before the standard processing, which then has no press left to click.
    Perform(SkinButtonStep(SkinPointerEvent::ButtonUp, m_bHover, m_bPressed));
    Default();
}

void CSkinButton::OnLButtonDown(UINT, POINT)
{
    Perform(SkinButtonStep(SkinPointerEvent::ButtonDown, m_bHover, m_bPressed));
    Default();
}

void CSkinButton::Perform(unsigned actions)
{
    if (actions & SkinReleaseCapture) ::ReleaseCapture();
    if (actions & SkinRedraw) Redraw();
    if (actions & SkinSetCapture) SetCapture();
    if (actions & SkinClick) {
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
    }
}

void CSkinButton::Redraw()
{
    InvalidateRect(nullptr, true);
    UpdateWindow();
}
