#pragma once
#include <windows.h>
#include <cstddef>

// Inflates an entry's raw deflate data into exactly size bytes and checks them against the
// entry's CRC-32. ZIPRES_OK, ZIPRES_INFLATE_FAILED for data that is damaged or ends before
// size bytes, ZIPRES_CORRUPT for data longer than size or of another CRC.
DWORD InflateWholeEntry(const unsigned char* compressed, size_t compressedSize, unsigned char* out, size_t size,
                        DWORD crc);

// The CRC-32 of the archive format, continued from crc (0 to start).
DWORD ZipCrc32(DWORD crc, const void* data, size_t size);
