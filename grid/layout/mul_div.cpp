#include "grid/layout/mul_div.h"

#include <cassert>

int MulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    assert(c != 0);
    const std::int64_t product = a * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t n = product < 0 ? -product : product;
    const std::int64_t d = c < 0 ? -c : c;
    const std::int64_t rounded = (n + d / 2) / d;
    return static_cast<int>(negative ? -rounded : rounded);
}
