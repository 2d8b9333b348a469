#include "imaging/png/png_chunk_reader.h"

#include "imaging/png/png_errors.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 24));
    out.push_back(static_cast<uint8_t>(value >> 16));
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

uint32_t ChunkCrc(std::string_view type, const uint8_t* data, size_t size) {
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(type.data()), static_cast<uInt>(type.size()));
    // zlib answers 0 for a null buffer, which an empty chunk may have.
    if (size > 0)
        crc = crc32_z(crc, data, size);
    return static_cast<uint32_t>(crc);
}

namespace {

bool IsChunkLetter(uint8_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::vector<TPngChunk> ReadPngChunks(const uint8_t* data, size_t size) {
    const size_t signatureSize = sizeof(PngSignature);
    const size_t compared = std::min(size, signatureSize);
    if (compared > 0 && std::memcmp(data, PngSignature, compared) != 0)
        throw EPNGInvalidSignature();
    if (size < signatureSize)
        throw EPNGUnexpectedEnd();

    std::vector<TPngChunk> chunks;
    size_t pos = signatureSize;
    for (;;) {
        if (size - pos < 8)
            throw EPNGUnexpectedEnd();
        const uint32_t length = ReadBigEndian32(data + pos);
        const uint8_t* typeBytes = data + pos + 4;
        std::string type(reinterpret_cast<const char*>(typeBytes), 4);
        if (!std::all_of(typeBytes, typeBytes + 4, IsChunkLetter))
            throw EPNGInvalidChunk(type, "has an invalid type name");
        if (chunks.empty() && type != "IHDR")
            throw EPNGMissingHeader();
        if (length > 0x7FFFFFFFu)
            throw EPNGInvalidChunk(type, "is longer than the PNG format allows");
        pos += 8;
        // Checked before the chunk's data is copied anywhere.
        if (size - pos < size_t{length} + 4)
            throw EPNGUnexpectedEnd();
        const uint8_t* body = data + pos;
        if (ChunkCrc(type, body, length) != ReadBigEndian32(body + length))
            throw EPNGCRCMismatch(type);
        pos += size_t{length} + 4;
        const bool isEnd = type == "IEND";
        chunks.push_back(TPngChunk{std::move(type), std::vector<uint8_t>(body, body + length)});
        if (isEnd)
            return chunks;
    }
}
