#pragma once
// The image header (IHDR) with its validation, the geometry derived from it
// (row sizes, Adam7 passes) and the limits that guard memory.

#include <cstddef>
#include <cstdint>
#include <vector>

enum class TPngColorType : uint8_t {
    Grayscale = 0,
    Truecolor = 2,
    Indexed = 3,
    GrayscaleAlpha = 4,
    TruecolorAlpha = 6,
};

struct TPngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    TPngColorType colorType = TPngColorType::Grayscale;
    bool interlaced = false;

    int Channels() const;
    int BitsPerPixel() const { return Channels() * bitDepth; }
    // Bytes between a byte and the one it is filtered against: one pixel, at least 1.
    int FilterStride() const { return BitsPerPixel() < 8 ? 1 : BitsPerPixel() / 8; }
    // Bytes of one row of the given width, without the filter type byte.
    uint64_t RowBytes(uint32_t rowWidth) const {
        return (uint64_t{rowWidth} * static_cast<uint64_t>(BitsPerPixel()) + 7) / 8;
    }
};

// Limits on images that the decoder accepts, so that a hostile file cannot
// make it allocate or inflate without bound.
struct TPngLimits {
    uint32_t maxWidth = 16384;
    uint32_t maxHeight = 16384;
    // Caps both the decoded RGBA pixels and the inflated image data.
    uint64_t maxDecodedBytes = uint64_t{256} << 20;
};

// One reduced image of the Adam7 scheme (or the whole image when not interlaced).
struct TPngPass {
    uint32_t xStart, yStart, xStep, yStep;
    uint32_t width, height; // in pixels; a pass with either 0 holds no data
};

// Parses and validates the 13 bytes of IHDR.
TPngHeader ParsePngHeader(const uint8_t* data, size_t size);

// The passes in the order the image data holds them.
std::vector<TPngPass> PngPasses(const TPngHeader& header);

// Bytes the inflated image data must hold: every pass's rows with their filter bytes.
uint64_t InflatedImageSize(const TPngHeader& header);

// Throws EPNGImageTooLarge when the header exceeds the limits.
void CheckPngLimits(const TPngHeader& header, const TPngLimits& limits);
