#pragma once
// Sort keys of the local indexes: byte strings that memcmp orders as the
// cells they stand for. Nulls come first, then the values ascending; texts
// order by their stored bytes (8-bit for Windows-1252 columns); a
// descending field inverts the whole key of its cell.

#include "data/dataset/engine/row_layout.h"

#include <cstdint>
#include <vector>

// Appends the key of a row's cell. With `prefix` a text, or bytes, leaves
// out its end mark: the key is then a prefix of the key of every text that
// begins with it. Blob and memo cells have no key (indexes refuse them).
void AppendSortKey(const TRowLayout& layout, const uint8_t* row, int col, bool descending,
                   std::vector<uint8_t>& out, bool prefix = false);
