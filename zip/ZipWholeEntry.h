#pragma once
#include <windows.h>
#include <cstddef>
#include <functional>

// Inflates an entry's raw deflate data into exactly size bytes and checks them against the
// entry's CRC-32. ZIPRES_OK, ZIPRES_INFLATE_FAILED for data that is damaged or ends before
// size bytes, ZIPRES_CORRUPT for data longer than size or of another CRC.
DWORD InflateWholeEntry(const unsigned char* compressed, size_t compressedSize, unsigned char* out, size_t size,
                        DWORD crc);

// The same for data too large to inflate whole: next hands over the raw data piece by piece (false
// once none is left or it cannot be read), each inflated piece of at most bufferSize bytes goes to
// write (false stops with ZIPRES_WRITE_FAILED), and the CRC is checked as the pieces pass.
DWORD InflateEntryInPieces(const std::function<bool(const unsigned char*& piece, size_t& pieceSize)>& next,
                           unsigned char* buffer, size_t bufferSize, size_t size, DWORD crc,
                           const std::function<bool(const unsigned char* data, size_t dataSize)>& write);

// The CRC-32 of the archive format, continued from crc (0 to start).
DWORD ZipCrc32(DWORD crc, const void* data, size_t size);
