#include "imaging/png/png_writer.h"

#include "imaging/png/png_errors.h"

#include <new>
#include <zlib.h>

std::vector<uint8_t> WritePngFile(const std::vector<TPngChunk>& chunks) {
    std::vector<uint8_t> out(std::begin(PngSignature), std::end(PngSignature));
    for (const TPngChunk& chunk : chunks) {
        AppendBigEndian32(out, static_cast<uint32_t>(chunk.data.size()));
        out.insert(out.end(), chunk.type.begin(), chunk.type.end());
        out.insert(out.end(), chunk.data.begin(), chunk.data.end());
        AppendBigEndian32(out, ChunkCrc(chunk.type, chunk.data.data(), chunk.data.size()));
    }
    return out;
}

std::vector<TPngChunk> EncodePngRgba(uint32_t width, uint32_t height, const uint8_t* rgba,
                                     bool withAlpha) {
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu)
        throw EPNGInvalidHeader("width and height must be between 1 and 2^31 - 1");
    std::vector<uint8_t> header;
    AppendBigEndian32(header, width);
    AppendBigEndian32(header, height);
    header.insert(header.end(), {8, uint8_t(withAlpha ? 6 : 2), 0, 0, 0});

    const size_t channels = withAlpha ? 4 : 3;
    std::vector<uint8_t> raw;
    raw.reserve(size_t{height} * (1 + size_t{width} * channels));
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0); // filter type None
        const uint8_t* pixel = rgba + size_t{y} * width * 4;
        for (uint32_t x = 0; x < width; ++x, pixel += 4)
            raw.insert(raw.end(), pixel, pixel + channels);
    }
    uLongf compressedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> compressed(compressedSize);
    const int result = compress2(compressed.data(), &compressedSize, raw.data(),
                                 static_cast<uLong>(raw.size()), Z_DEFAULT_COMPRESSION);
    if (result == Z_MEM_ERROR)
        throw std::bad_alloc();
    if (result != Z_OK)
        throw EPNGInvalidCompressedData("zlib could not compress the image");
    compressed.resize(compressedSize);
    return {TPngChunk{"IHDR", std::move(header)}, TPngChunk{"IDAT", std::move(compressed)},
            TPngChunk{"IEND", {}}};
}
