#pragma once
// The gamma correction table built from a gAMA value, applied to the colour
// samples (never to alpha) as they are decoded.

#include <array>
#include <cstdint>

using TPngGammaTable = std::array<uint8_t, 256>;

// Entry i = round(255 * (i / 255) ^ (1 / (2.2 * gamma / 100000))); a gamma
// of 0 (or no gAMA chunk) gives the identity.
TPngGammaTable BuildPngGammaTable(uint32_t gamma);

bool IsIdentityGammaTable(const TPngGammaTable& table);
