#pragma once
// MulDiv: a × b / c with a 64-bit product, rounded to the nearest whole
// number (halves away from zero), as the width fitting and the weight
// rebalancing compute their shares.

#include <cstdint>

// `c` must not be 0; the callers decide what a zero divisor means for them.
int MulDiv(std::int64_t a, std::int64_t b, std::int64_t c);
