#pragma once
#include "res/resource.h"

// One installable version: its packages in extraction order, its label and its confirmation.
struct VersionVariant {
    unsigned int packages[2];  // in extraction order; 0 in the second slot for a single package
    const wchar_t* label;
    const wchar_t* confirmation;
    unsigned int replayVersion = 0;  // the version field of the replays it plays: its base's patch number
};

inline const VersionVariant kVariant120E{{IDR_PACKAGE_120E, 0}, L"当前版本:1.20E", L"版本转换成功，当前版本为：1.20E", 20};
inline const VersionVariant kVariant124E{{IDR_PACKAGE_124E, 0}, L"当前版本:1.24E", L"版本转换成功，当前版本为：1.24E", 24};
inline const VersionVariant kVariant126{{IDR_PACKAGE_126, 0}, L"当前版本:1.26", L"版本转换成功，当前版本为：1.26", 26};
inline const VersionVariant kVariant120E4M{{IDR_PACKAGE_120E, IDR_PACKAGE_120E_4M}, L"当前版本:1.20E+4M",
                                           L"版本转换成功，当前版本为：1.20E+4M", 20};
inline const VersionVariant kVariant124E8M{{IDR_PACKAGE_124E, IDR_PACKAGE_124E_8M}, L"当前版本:1.24E+8M",
                                           L"版本转换成功，当前版本为：1.24E+8M", 24};

// Every variant, in the order of the version buttons; the order decides between variants only
// if two could ever be installed at once, which distinct game.dll files prevent.
inline const VersionVariant* const kAllVariants[] = {&kVariant120E, &kVariant124E, &kVariant126, &kVariant120E4M,
                                                     &kVariant124E8M};
