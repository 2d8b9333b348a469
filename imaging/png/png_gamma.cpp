#include "imaging/png/png_gamma.h"

#include <cmath>

TPngGammaTable BuildPngGammaTable(uint32_t gamma) {
    TPngGammaTable table;
    if (gamma == 0) {
        for (int i = 0; i < 256; ++i)
            table[i] = static_cast<uint8_t>(i);
        return table;
    }
    const double exponent = 1.0 / (2.2 * gamma / 100000.0);
    for (int i = 0; i < 256; ++i) {
        const double value = std::round(255.0 * std::pow(i / 255.0, exponent));
        table[i] = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
    }
    return table;
}

bool IsIdentityGammaTable(const TPngGammaTable& table) {
    for (int i = 0; i < 256; ++i) {
        if (table[i] != i)
            return false;
    }
    return true;
}
