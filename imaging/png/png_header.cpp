#include "imaging/png/png_header.h"

#include "imaging/png/png_chunk.h"
#include "imaging/png/png_errors.h"

#include <string>

int TPngHeader::Channels() const {
    switch (colorType) {
    case TPngColorType::Grayscale:
    case TPngColorType::Indexed:
        return 1;
    case TPngColorType::GrayscaleAlpha:
        return 2;
    case TPngColorType::Truecolor:
        return 3;
    case TPngColorType::TruecolorAlpha:
        return 4;
    }
    return 1;
}

namespace {

bool IsAllowedBitDepth(uint8_t colorType, uint8_t bitDepth) {
    switch (colorType) {
    case 0:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case 3:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case 2:
    case 4:
    case 6:
        return bitDepth == 8 || bitDepth == 16;
    default:
        return false;
    }
}

} // namespace

TPngHeader ParsePngHeader(const uint8_t* data, size_t size) {
    if (size != 13)
        throw EPNGInvalidHeader("IHDR must hold 13 bytes, not " + std::to_string(size));
    TPngHeader header;
    header.width = ReadBigEndian32(data);
    header.height = ReadBigEndian32(data + 4);
    header.bitDepth = data[8];
    const uint8_t colorType = data[9];
    if (header.width == 0 || header.height == 0 || header.width > 0x7FFFFFFFu ||
        header.height > 0x7FFFFFFFu)
        throw EPNGInvalidHeader("width and height must be between 1 and 2^31 - 1");
    if (colorType != 0 && colorType != 2 && colorType != 3 && colorType != 4 && colorType != 6)
        throw EPNGInvalidHeader("unknown colour type " + std::to_string(colorType));
    if (!IsAllowedBitDepth(colorType, header.bitDepth))
        throw EPNGInvalidHeader("bit depth " + std::to_string(header.bitDepth) +
                                " is not allowed for colour type " + std::to_string(colorType));
    if (data[10] != 0)
        throw EPNGInvalidHeader("unknown compression method " + std::to_string(data[10]));
    if (data[11] != 0)
        throw EPNGInvalidHeader("unknown filter method " + std::to_string(data[11]));
    if (data[12] > 1)
        throw EPNGInvalidHeader("unknown interlace method " + std::to_string(data[12]));
    header.colorType = static_cast<TPngColorType>(colorType);
    header.interlaced = data[12] == 1;
    return header;
}

std::vector<TPngPass> PngPasses(const TPngHeader& header) {
    if (!header.interlaced)
        return {TPngPass{0, 0, 1, 1, header.width, header.height}};
    static constexpr uint32_t adam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    std::vector<TPngPass> passes;
    for (const auto& p : adam7) {
        TPngPass pass{p[0], p[1], p[2], p[3], 0, 0};
        if (header.width > pass.xStart)
            pass.width = (header.width - pass.xStart + pass.xStep - 1) / pass.xStep;
        if (header.height > pass.yStart)
            pass.height = (header.height - pass.yStart + pass.yStep - 1) / pass.yStep;
        passes.push_back(pass);
    }
    return passes;
}

uint64_t InflatedImageSize(const TPngHeader& header) {
    uint64_t total = 0;
    for (const TPngPass& pass : PngPasses(header)) {
        if (pass.width != 0 && pass.height != 0)
            total += uint64_t{pass.height} * (1 + header.RowBytes(pass.width));
    }
    return total;
}

void CheckPngLimits(const TPngHeader& header, const TPngLimits& limits) {
    if (header.width > limits.maxWidth)
        throw EPNGImageTooLarge("width " + std::to_string(header.width) + " exceeds " +
                                std::to_string(limits.maxWidth));
    if (header.height > limits.maxHeight)
        throw EPNGImageTooLarge("height " + std::to_string(header.height) + " exceeds " +
                                std::to_string(limits.maxHeight));
    // Both factors are below 2^31, so the products fit in 64 bits.
    const uint64_t decoded = uint64_t{header.width} * header.height * 4;
    if (decoded > limits.maxDecodedBytes || InflatedImageSize(header) > limits.maxDecodedBytes)
        throw EPNGImageTooLarge("decoded size exceeds " + std::to_string(limits.maxDecodedBytes) +
                                " bytes");
}
