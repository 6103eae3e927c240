#include "zip/ZipWholeEntry.h"
#include "zip/ZipArchive.h"
#include <libdeflate.h>
#include <zlib.h>
#include <climits>

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

DWORD InflateEntryInPieces(const std::function<bool(const unsigned char*&, size_t&)>& next, unsigned char* buffer,
                           size_t bufferSize, size_t size, DWORD crc,
                           const std::function<bool(const unsigned char*, size_t)>& write)
{
    z_stream stream{};
    if (bufferSize == 0 || inflateInit2(&stream, -MAX_WBITS) != Z_OK) return ZIPRES_INFLATE_FAILED;
    DWORD result = ZIPRES_INFLATE_FAILED, sum = 0;
    size_t written = 0;
    for (;;) {
        if (stream.avail_in == 0) {
            const unsigned char* piece = nullptr;
            size_t pieceSize = 0;
            // Data that ends before the stream does is cut short.
            if (!next(piece, pieceSize) || pieceSize == 0 || pieceSize > UINT_MAX) break;
            stream.next_in = const_cast<Bytef*>(piece);
            stream.avail_in = static_cast<uInt>(pieceSize);
        }
        stream.next_out = buffer;
        stream.avail_out = static_cast<uInt>(bufferSize < UINT_MAX ? bufferSize : UINT_MAX);
        int inflated = inflate(&stream, Z_NO_FLUSH);
        if (inflated != Z_OK && inflated != Z_STREAM_END && inflated != Z_BUF_ERROR) break;
        size_t produced = static_cast<size_t>(stream.next_out - buffer);
        // More data than the headers declare, as InflateWholeEntry finds it.
        if (produced > size - written) {
            result = ZIPRES_CORRUPT;
            break;
        }
        if (produced && !write(buffer, produced)) {
            result = ZIPRES_WRITE_FAILED;
            break;
        }
        sum = ZipCrc32(sum, buffer, produced);
        written += produced;
        if (inflated == Z_STREAM_END) {
            if (written == size) result = sum == crc ? ZIPRES_OK : ZIPRES_CORRUPT;
            break;
        }
        // Neither input taken nor output made, with input at hand: the data goes no further.
        if (inflated == Z_BUF_ERROR && stream.avail_in != 0) break;
    }
    inflateEnd(&stream);
    return result;
}

DWORD ZipCrc32(DWORD crc, const void* data, size_t size)
{
    return libdeflate_crc32(crc, data, size);
}
