#pragma once
#include <windows.h>

// Windows attribute bits of an entry from its external attributes and the host that made it
// (the high byte of version-made-by): FAT-like and NTFS hosts keep DOS bits, others a Unix mode.
DWORD MapEntryAttributes(unsigned int versionMadeBy, DWORD externalAttributes);
