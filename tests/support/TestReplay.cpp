#include "TestReplay.h"
#include "TestArchive.h"

namespace {

std::string Le16(uint16_t v)
{
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

} // namespace

std::string ReplayBytes(const ReplayFields& f, size_t data)
{
    std::string h("Warcraft III recorded game\x1A", 28);
    h += Le32(f.headerSize);
    const size_t total = (f.headerVersion == 0 ? 0x40 : 0x44) + data;
    h += Le32(f.fileSize.value_or(static_cast<uint32_t>(total))) + Le32(f.headerVersion) + Le32(0x3CE0) + Le32(f.blocks);
    if (f.headerVersion == 0)
        h += Le16(0) + Le16(static_cast<uint16_t>(f.version)) + Le16(f.build) + Le16(0x8000) + Le32(f.lengthMs);
    else
        h += f.product + Le32(f.version) + Le16(f.build) + Le16(0x8000) + Le32(f.lengthMs);
    h += Le32(f.crc.value_or(Crc32Of(h + std::string(4, '\0'))));
    return h + std::string(data, '\x5A');
}

std::string ReplayOfVersion(uint32_t version)
{
    ReplayFields fields;
    fields.version = version;
    fields.build = version == 20 ? 6052 : 6059;
    return ReplayBytes(fields);
}
