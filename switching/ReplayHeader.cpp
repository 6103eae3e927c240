#include "switching/ReplayHeader.h"
#include "framework/CHandle.h"
#include "framework/LongPath.h"
#include "zip/ZipWholeEntry.h"
#include <windows.h>
#include <cstring>
#include <vector>

namespace {

const char kSignature[] = "Warcraft III recorded game\x1A";  // with its terminator: the format's 28 bytes
const size_t kSignatureSize = sizeof kSignature;
// Header sizes of the two header versions: 0 up to patch 1.06, 1 from 1.07.
const size_t kHeaderSizeV0 = 0x40;
const size_t kHeaderSizeV1 = 0x44;
// Some platforms save the replay behind bytes of their own; those are a short preamble, so the
// signature is looked for only this far in, and an unrelated large file costs one bounded read.
const size_t kSignatureSearch = 64 * 1024;
// Each data block after the header starts with a header of its own of this size.
const unsigned long long kBlockHeaderSize = 8;

unsigned int U16(const unsigned char* at) { return at[0] | at[1] << 8; }
unsigned long U32(const unsigned char* at)
{
    return static_cast<unsigned long>(at[0]) | static_cast<unsigned long>(at[1]) << 8 |
           static_cast<unsigned long>(at[2]) << 16 | static_cast<unsigned long>(at[3]) << 24;
}

// Reads up to size bytes from the file's start; what was read, fewer only at the end or on a failure.
bool ReadPrefix(HANDLE file, unsigned char* out, DWORD size, DWORD* got)
{
    *got = 0;
    while (*got < size) {
        DWORD read = 0;
        if (!ReadFile(file, out + *got, size - *got, &read, nullptr)) return false;
        if (read == 0) break;
        *got += read;
    }
    return true;
}

// Checks the header at data, of which available bytes were read and fileBytes remain in the file.
void CheckHeader(const unsigned char* data, size_t available, unsigned long long fileBytes, ReplayHeader* header)
{
    if (available < 0x28) {
        header->reading = ReplayReading::Truncated;
        return;
    }
    const unsigned long headerSize = U32(data + 0x1C);
    const unsigned long headerVersion = U32(data + 0x24);
    if (!(headerSize == kHeaderSizeV1 && headerVersion == 1) && !(headerSize == kHeaderSizeV0 && headerVersion == 0)) {
        header->reading = ReplayReading::Damaged;
        return;
    }
    if (available < headerSize) {
        header->reading = ReplayReading::Truncated;
        return;
    }
    // The checksum covers the whole header with its own field, the last, as zero.
    const unsigned char zero[4] = {};
    DWORD crc = ZipCrc32(ZipCrc32(0, data, headerSize - 4), zero, sizeof zero);
    // Whether the game refuses a header of another checksum is not known, and replay tools edit
    // headers; a refusal here would keep a playable replay from the game, so it stays a detail.
    header->crcMatches = crc == U32(data + headerSize - 4);

    const unsigned long long fileSize = U32(data + 0x20);
    const unsigned long long blocks = U32(data + 0x2C);
    if (fileSize < headerSize + blocks * kBlockHeaderSize || blocks == 0) {
        header->reading = ReplayReading::Damaged;
        return;
    }
    // Bytes after the announced end are left alone, as a wrapper's trailer would be.
    if (fileSize > fileBytes) {
        header->reading = ReplayReading::Truncated;
        return;
    }

    if (headerVersion == 0) {
        // Before 1.07 there was no expansion, and the header names no product.
        header->version = U16(data + 0x32);
        header->build = U16(data + 0x34);
        header->lengthMs = U32(data + 0x38);
        header->reading = ReplayReading::ReignOfChaos;
        return;
    }
    header->version = U32(data + 0x34);
    header->build = U16(data + 0x38);
    header->lengthMs = U32(data + 0x3C);
    // The product's four characters, stored reversed.
    if (std::memcmp(data + 0x30, "PX3W", 4) == 0) header->reading = ReplayReading::Ok;
    else if (std::memcmp(data + 0x30, "3RAW", 4) == 0) header->reading = ReplayReading::ReignOfChaos;
    else header->reading = ReplayReading::Damaged;
}

} // namespace

ReplayHeader ReadReplayHeader(const CString& path)
{
    ReplayHeader header;
    CHandle file(CreateFileW(LongPathForm(path.Str()).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file, &size) || size.QuadPart < 0) return header;
    if (size.QuadPart == 0) {
        header.reading = ReplayReading::Empty;
        return header;
    }

    std::vector<unsigned char> prefix(kSignatureSearch + kHeaderSizeV1);
    DWORD got = 0;
    if (!ReadPrefix(file, prefix.data(), static_cast<DWORD>(prefix.size()), &got)) return header;

    const unsigned char* signature = reinterpret_cast<const unsigned char*>(kSignature);
    for (size_t at = 0; at < kSignatureSearch && at + kSignatureSize <= got; ++at) {
        if (prefix[at] == signature[0] && std::memcmp(&prefix[at], signature, kSignatureSize) == 0) {
            header.offset = at;
            CheckHeader(&prefix[at], got - at, static_cast<unsigned long long>(size.QuadPart) - at, &header);
            return header;
        }
    }
    // A file that ends inside the signature is a replay cut short rather than something else.
    bool cutInSignature = got < kSignatureSize && std::memcmp(prefix.data(), signature, got) == 0;
    header.reading = cutInSignature ? ReplayReading::Truncated : ReplayReading::NotReplay;
    return header;
}
