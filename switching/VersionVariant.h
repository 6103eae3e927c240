#pragma once

// One installable version: its packages in extraction order, its label and its confirmation.
struct VersionVariant {
    unsigned int commandId;
    unsigned int packages[2];  // 0 ends the list
    const wchar_t* label;
    const wchar_t* confirmation;
};

inline const VersionVariant kVariant120E{1018, {183, 0}, L"当前版本:1.20E", L"版本转换成功，当前版本为：1.20E"};
inline const VersionVariant kVariant124E{1019, {185, 0}, L"当前版本:1.24E", L"版本转换成功，当前版本为：1.24E"};
inline const VersionVariant kVariant126{1015, {186, 0}, L"当前版本:1.26", L"版本转换成功，当前版本为：1.26"};
inline const VersionVariant kVariant120E4M{1008, {183, 188}, L"当前版本:1.20E+4M", L"版本转换成功，当前版本为：1.20E+4M"};
inline const VersionVariant kVariant124E8M{1009, {185, 187}, L"当前版本:1.24E+8M", L"版本转换成功，当前版本为：1.24E+8M"};
