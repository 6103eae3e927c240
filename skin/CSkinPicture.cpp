#include "skin/CSkinPicture.h"
#include <algorithm>

namespace {

const COLORREF kKeyColor = RGB(255, 0, 255);

} // namespace

void CSkinPicture::PreSubclassWindow()
{
    // A bitmap static fills whatever its picture leaves of it with the dialog's control brush;
    // drawn by its owner it leaves that to the window's picture. Only a bitmap static hands out
    // its picture, so it is taken before the type changes.
    m_hPicture = reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0));
    ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);
    CStatic::PreSubclassWindow();
}

void CSkinPicture::DrawItem(LPDRAWITEMSTRUCT item)
{
    BITMAP picture{};
    if (!item || !m_hPicture || !::GetObjectW(m_hPicture, sizeof picture, &picture)) return;
    CDC target(item->hDC);
    // A static's context may reach past it: the picture is cut at the control's edges.
    const RECT& area = item->rcItem;
    const int width = std::min<int>(picture.bmWidth, area.right - area.left);
    const int height = std::min<int>(picture.bmHeight, area.bottom - area.top);
    if (width > 0 && height > 0)
        m_keyedPicture.Draw(target, area.left, area.top, width, height, m_hPicture, 0, 0, kKeyColor);
}
