#pragma once
// Reading of the kept text (tEXt, zTXt) and time (tIME) chunks.

#include "imaging/png/png_chunk.h"

#include <cstddef>
#include <optional>
#include <string>

struct TPngText {
    std::string keyword;
    std::string text; // Latin-1 bytes as stored (zTXt already inflated)
    bool compressed = false;
};

struct TPngTime {
    int year, month, day, hour, minute, second;
};

// Longest zTXt text that is inflated; longer ones count as malformed.
inline constexpr size_t MaxPngTextBytes = size_t{1} << 20;

// nullopt for a chunk of another type or a malformed one.
std::optional<TPngText> ParsePngTextChunk(const TPngChunk& chunk);
std::optional<TPngTime> ParsePngTimeChunk(const TPngChunk& chunk);
