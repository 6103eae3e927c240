#include "zip/ZipAttributes.h"

DWORD MapEntryAttributes(unsigned int versionMadeBy, DWORD external)
{
    unsigned int host = (versionMadeBy >> 8) & 0xFF;
    if (host == 0 || host == 7 || host == 10 || host == 11 || host == 14) {
        return external & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                           FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
    }
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    if (external & (1UL << 30)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(external & (1UL << 23))) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}
