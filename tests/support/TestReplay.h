#pragma once
#include <cstdint>
#include <optional>
#include <string>

// The fields of a replay's header as the game writes them, each open to a lie.
struct ReplayFields {
    uint32_t headerSize = 0x44;
    std::optional<uint32_t> fileSize;  // the whole replay's size unless given
    uint32_t headerVersion = 1;
    uint32_t blocks = 2;
    std::string product = "PX3W";
    uint32_t version = 26;
    uint16_t build = 6059;
    uint32_t lengthMs = 190025;
    std::optional<uint32_t> crc;       // the right one unless given
};

// A replay of the fields with data bytes after its header, as the game saves it.
std::string ReplayBytes(const ReplayFields& fields, size_t data = 64);
// A whole replay of the version (20, 24, 26, ...), the rest as the game writes it.
std::string ReplayOfVersion(uint32_t version);
