#pragma once
// Splits PNG file bytes into chunks: checks the signature, each chunk's
// length, type letters and CRC-32, and stops after IEND.

#include "imaging/png/png_chunk.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Returns every chunk from IHDR to IEND, in file order. Bytes after IEND
// are not part of the image and are ignored.
std::vector<TPngChunk> ReadPngChunks(const uint8_t* data, size_t size);
