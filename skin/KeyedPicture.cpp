#include "skin/KeyedPicture.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
// Destination AND NOT source.
const DWORD kDestAndNotSource = 0x00220326;

} // namespace

bool KeyedPicture::Build(CDC& target, HBITMAP picture, COLORREF key)
{
    Reset();
    BITMAP info{};
    if (!picture || !::GetObjectW(picture, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    CDC source, mask, image;
    if (!source.CreateCompatibleDC(&target) || !mask.CreateCompatibleDC(&target) || !image.CreateCompatibleDC(&target))
        return false;
    if (!m_bmpMask.CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr) ||
        !m_bmpImage.CreateCompatibleBitmap(&target, info.bmWidth, info.bmHeight))
        return Reset(), false;
    CSelectGuard selectSource(source, picture);
    CSelectGuard selectMask(mask, m_bmpMask.GetSafeHandle());
    CSelectGuard selectImage(image, m_bmpImage.GetSafeHandle());
    // A colour picture copied to a monochrome one turns its background colour's pixels white, all
    // others black; copied back, white takes the background colour and black the text colour.
    source.SetBkColor(key);
    image.SetBkColor(kWhite);
    image.SetTextColor(kBlack);
    if (!mask.BitBlt(0, 0, info.bmWidth, info.bmHeight, &source, 0, 0, SRCCOPY) ||
        !image.BitBlt(0, 0, info.bmWidth, info.bmHeight, &source, 0, 0, SRCCOPY) ||
        !image.BitBlt(0, 0, info.bmWidth, info.bmHeight, &mask, 0, 0, kDestAndNotSource))
        return Reset(), false;
    m_hSource = picture;
    m_crKey = key;
    return true;
}

bool KeyedPicture::Draw(CDC& target, int x, int y, int width, int height, HBITMAP picture, int sx, int sy, COLORREF key)
{
    if ((picture != m_hSource || key != m_crKey || !m_bmpImage.GetSafeHandle()) && !Build(target, picture, key)) {
        // What cannot be made ready is drawn the slow way.
        CDC source;
        if (!picture || !source.CreateCompatibleDC(&target)) return false;
        CSelectGuard select(source, picture);
        return target.TransparentBlt(x, y, width, height, &source, sx, sy, width, height, key);
    }
    CDC mask, image;
    if (!mask.CreateCompatibleDC(&target) || !image.CreateCompatibleDC(&target)) return false;
    CSelectGuard selectMask(mask, m_bmpMask.GetSafeHandle());
    CSelectGuard selectImage(image, m_bmpImage.GetSafeHandle());
    // The key's pixels keep what lies beneath, the others are cleared and then painted in.
    COLORREF background = target.SetBkColor(kWhite);
    COLORREF text = target.SetTextColor(kBlack);
    bool drawn = target.BitBlt(x, y, width, height, &mask, sx, sy, SRCAND) &&
                 target.BitBlt(x, y, width, height, &image, sx, sy, SRCPAINT);
    target.SetBkColor(background);
    target.SetTextColor(text);
    return drawn;
}

void KeyedPicture::Reset()
{
    m_bmpMask.DeleteObject();
    m_bmpImage.DeleteObject();
    m_hSource = nullptr;
    m_crKey = 0;
}
