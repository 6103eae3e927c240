#include "framework/CBitmap.h"
#include "framework/CDC.h"
#include "framework/CWinApp.h"

bool CBitmap::LoadBitmap(unsigned int resourceId)
{
    return Attach(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION));
}

bool CBitmap::GetBitmap(BITMAP* info) const
{
    return info && GetObject(sizeof(BITMAP), info) == sizeof(BITMAP);
}

bool CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

bool CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return dc && Attach(::CreateCompatibleBitmap(dc->GetSafeHdc(), width, height));
}
