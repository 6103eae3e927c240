#include "switching/ReplayVersion.h"
#include <cwchar>

const VersionVariant* ReplayBaseVariant(unsigned int version)
{
    if (version == 0) return nullptr;
    for (const VersionVariant* variant : kAllVariants) {
        if (variant->replayVersion == version && variant->packages[1] == 0) return variant;
    }
    return nullptr;
}

bool PlaysReplaysOf(const VersionVariant& installed, unsigned int version)
{
    return version != 0 && installed.replayVersion == version;
}

CString ReplayVersionText(unsigned int version)
{
    wchar_t text[16];
    swprintf(text, sizeof text / sizeof text[0], L"1.%02u", version);
    return text;
}
