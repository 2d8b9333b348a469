#pragma once
// What the chunks of a PNG file say about decoding its pixels: header,
// palette, transparency, gamma and the image data, with the chunk order
// and contents checked.

#include "imaging/png/png_chunk.h"
#include "imaging/png/png_header.h"

#include <cstdint>
#include <span>
#include <vector>

struct TPngColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const TPngColor&) const = default;
};

struct TPngImageInfo {
    TPngHeader header;
    std::vector<TPngColor> palette;
    std::vector<uint8_t> paletteAlpha; // tRNS of an indexed image, one per entry
    // tRNS of a greyscale or truecolour image: the raw sample values (full
    // 16 bits at bit depth 16) of the one transparent colour.
    bool hasTransparentColor = false;
    uint16_t transparentGray = 0;
    uint16_t transparentRed = 0;
    uint16_t transparentGreen = 0;
    uint16_t transparentBlue = 0;
    uint32_t gamma = 0; // the gAMA value; 0 without the chunk
    // The data of the IDAT chunks, pointing into the chunk list.
    std::vector<std::span<const uint8_t>> imageData;
};

// `chunks` is what ReadPngChunks returned: IHDR first, IEND last.
TPngImageInfo InterpretPngChunks(const std::vector<TPngChunk>& chunks);
