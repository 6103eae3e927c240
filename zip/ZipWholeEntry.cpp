#include "zip/ZipWholeEntry.h"
#include "zip/ZipArchive.h"
#include <libdeflate.h>

DWORD InflateWholeEntry(const unsigned char* compressed, size_t compressedSize, unsigned char* out, size_t size,
                        DWORD crc)
{
    libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
    if (!inflater) return ZIPRES_INFLATE_FAILED;
    // Without a count of bytes produced, anything short of exactly size bytes is SHORT_OUTPUT.
    libdeflate_result result = libdeflate_deflate_decompress(inflater, compressed, compressedSize, out, size, nullptr);
    libdeflate_free_decompressor(inflater);
    switch (result) {
    case LIBDEFLATE_SUCCESS: return ZipCrc32(0, out, size) == crc ? ZIPRES_OK : ZIPRES_CORRUPT;
    // More data than the headers declare: what streaming finds as a CRC that does not match.
    case LIBDEFLATE_INSUFFICIENT_SPACE: return ZIPRES_CORRUPT;
    default: return ZIPRES_INFLATE_FAILED;
    }
}

DWORD ZipCrc32(DWORD crc, const void* data, size_t size)
{
    return libdeflate_crc32(crc, data, size);
}
