#include "imaging/png/png_unfilter.h"

#include <cstdlib>

namespace {

// The stride is a template parameter so that the per-pixel loops unroll into
// independent byte lanes.
template <int S> void UnfilterSub(uint8_t* row, size_t length) {
    for (size_t i = S; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + row[i - S]);
}

void UnfilterUp(uint8_t* row, const uint8_t* prev, size_t length) {
    for (size_t i = 0; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + prev[i]);
}

template <int S> void UnfilterAverage(uint8_t* row, const uint8_t* prev, size_t length) {
    const size_t head = length < S ? length : S;
    for (size_t i = 0; i < head; ++i)
        row[i] = static_cast<uint8_t>(row[i] + (prev[i] >> 1));
    for (size_t i = S; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + ((row[i - S] + prev[i]) >> 1));
}

inline uint8_t PaethPredictor(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    const int bc = pb <= pc ? b : c;
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : bc);
}

template <int S> void UnfilterPaeth(uint8_t* row, const uint8_t* prev, size_t length) {
    const size_t head = length < S ? length : S;
    // With a and c zero the predictor is b.
    for (size_t i = 0; i < head; ++i)
        row[i] = static_cast<uint8_t>(row[i] + prev[i]);
    for (size_t i = S; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + PaethPredictor(row[i - S], prev[i], prev[i - S]));
}

template <int S>
void Unfilter(uint8_t filterType, uint8_t* row, const uint8_t* prev, size_t length) {
    switch (filterType) {
    case 1:
        UnfilterSub<S>(row, length);
        break;
    case 2:
        UnfilterUp(row, prev, length);
        break;
    case 3:
        UnfilterAverage<S>(row, prev, length);
        break;
    case 4:
        UnfilterPaeth<S>(row, prev, length);
        break;
    default:
        break;
    }
}

} // namespace

void UnfilterPngRow(uint8_t filterType, uint8_t* row, const uint8_t* prev, size_t length,
                    int stride) {
    switch (stride) {
    case 1:
        Unfilter<1>(filterType, row, prev, length);
        break;
    case 2:
        Unfilter<2>(filterType, row, prev, length);
        break;
    case 3:
        Unfilter<3>(filterType, row, prev, length);
        break;
    case 4:
        Unfilter<4>(filterType, row, prev, length);
        break;
    case 6:
        Unfilter<6>(filterType, row, prev, length);
        break;
    default:
        Unfilter<8>(filterType, row, prev, length);
        break;
    }
}
