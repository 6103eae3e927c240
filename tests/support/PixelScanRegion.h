#pragma once
#include "framework/CBitmap.h"
#include "framework/CRgn.h"

// The outline built the slow, plain way, for comparison: one GetPixel per pixel and one
// CombineRgn per run of non-magenta pixels.
CRgn PixelScanRegion(const CBitmap& bitmap);

// An empty 24-bit picture, as the skin's resources load.
CBitmap MakeDibPicture(int width, int height);
