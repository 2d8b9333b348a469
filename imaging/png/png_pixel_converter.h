#pragma once
// Turns unfiltered rows of any colour type and bit depth into 8-bit RGBA:
// palette and transparency applied, 16-bit samples reduced to their high
// byte, gamma applied to the colour samples.

#include "imaging/png/png_gamma.h"
#include "imaging/png/png_header.h"
#include "imaging/png/png_image_info.h"

#include <array>
#include <cstddef>
#include <cstdint>

class TPngPixelConverter {
public:
    explicit TPngPixelConverter(const TPngImageInfo& info);

    // Converts `count` pixels of `src`, writing pixel i at dst + i * dstStep.
    void ConvertRow(const uint8_t* src, uint32_t count, uint8_t* dst, size_t dstStep) const;

private:
    void ConvertLookup(const uint8_t* src, uint32_t count, uint8_t* dst, size_t dstStep) const;
    void ConvertGray16(const uint8_t* src, uint32_t count, uint8_t* dst, size_t dstStep) const;
    void ConvertGrayAlpha(const uint8_t* src, uint32_t count, uint8_t* dst, size_t dstStep) const;
    void ConvertTruecolor(const uint8_t* src, uint32_t count, uint8_t* dst, size_t dstStep) const;
    void ConvertTruecolorAlpha(const uint8_t* src, uint32_t count, uint8_t* dst,
                               size_t dstStep) const;

    TPngHeader header_;
    TPngGammaTable gamma_;
    bool identityGamma_;
    // Greyscale up to 8 bits and indexed colour: RGBA of every raw sample value.
    std::array<std::array<uint8_t, 4>, 256> lookup_{};
    bool hasTransparentColor_;
    uint16_t transparentGray_;
    uint16_t transparentRed_;
    uint16_t transparentGreen_;
    uint16_t transparentBlue_;
};
