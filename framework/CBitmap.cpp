#include "framework/CBitmap.h"
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
