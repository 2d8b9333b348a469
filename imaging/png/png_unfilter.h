#pragma once
// Reverses the five PNG row filters (None, Sub, Up, Average, Paeth).

#include <cstddef>
#include <cstdint>

// Unfilters one row of `length` bytes in place. `prev` is the previous
// unfiltered row of the same pass (all zeros for the first row); `stride` is
// the filter distance in bytes (1, 2, 3, 4, 6 or 8). `filterType` must be 0 to 4.
void UnfilterPngRow(uint8_t filterType, uint8_t* row, const uint8_t* prev, size_t length,
                    int stride);
