#pragma once
// Writes chunk lists back as PNG file bytes, and encodes RGBA pixels as the
// chunks of an 8-bit truecolour image.

#include "imaging/png/png_chunk.h"

#include <cstdint>
#include <vector>

// The signature followed by every chunk with its length and a fresh CRC.
std::vector<uint8_t> WritePngFile(const std::vector<TPngChunk>& chunks);

// IHDR, one IDAT and IEND of a width x height image given as RGBA rows;
// colour type 6 with `withAlpha`, else 2 (alpha dropped).
std::vector<TPngChunk> EncodePngRgba(uint32_t width, uint32_t height, const uint8_t* rgba,
                                     bool withAlpha);
