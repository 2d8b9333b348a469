#pragma once
// A PNG chunk as the file holds it (type and data; the CRC is checked on
// reading and computed anew on writing), and the byte helpers around it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TPngChunk {
    std::string type; // four ASCII letters, e.g. "IHDR"
    std::vector<uint8_t> data;
};

inline constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Critical chunks have an upper-case first letter (bit 5 clear).
inline bool IsCriticalChunk(std::string_view type) {
    return !type.empty() && (static_cast<unsigned char>(type[0]) & 0x20) == 0;
}

inline uint32_t ReadBigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

inline uint16_t ReadBigEndian16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t value);

// CRC-32 of the chunk type followed by its data, as stored after each chunk.
uint32_t ChunkCrc(std::string_view type, const uint8_t* data, size_t size);
