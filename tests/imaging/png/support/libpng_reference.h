#pragma once
// Decodes PNG bytes with libpng into 8-bit RGBA (palette and tRNS expanded,
// 16-bit samples stripped to their high byte): the reference the decoder is
// compared against.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct TReferenceImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
};

// Without `screenGamma` no gamma correction is done, gAMA or not; with it,
// libpng corrects for a display of that gamma. Throws std::runtime_error
// when libpng refuses the data.
TReferenceImage DecodeWithLibpng(std::span<const uint8_t> bytes,
                                 std::optional<double> screenGamma = std::nullopt);
