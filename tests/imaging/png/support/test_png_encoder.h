#pragma once
// A PNG encoder for test images, independent of the decoder under test: it
// lets each test choose colour type, bit depth, interlacing, the filter of
// every row, palette, tRNS, gAMA, extra chunks and how IDAT is split.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TTestChunk {
    std::string type;
    std::vector<uint8_t> data;
    bool badCrc = false; // write a CRC that does not match
};

struct TTestImage {
    uint32_t width = 1;
    uint32_t height = 1;
    uint8_t colorType = 6;
    uint8_t bitDepth = 8;
    bool interlaced = false;
    // Raw sample values, `Channels()` per pixel, row by row; each below 2^bitDepth.
    std::vector<uint16_t> samples;
    // Filter type of row `row` of Adam7 pass `pass` (0 when not interlaced).
    // A value above 4 is written as it is, with the row left unfiltered.
    std::function<uint8_t(int pass, uint32_t row)> filter = [](int, uint32_t row) {
        return static_cast<uint8_t>(row % 5);
    };
    std::vector<uint8_t> palette;                     // PLTE bytes (RGB triples)
    std::optional<std::vector<uint8_t>> transparency; // tRNS bytes
    std::optional<uint32_t> gamma;                    // gAMA value
    std::vector<TTestChunk> chunksBeforeData;         // after PLTE/tRNS, before IDAT
    std::vector<TTestChunk> chunksAfterData;          // between the last IDAT and IEND
    size_t idatChunkSize = 0;                         // 0: one IDAT chunk
    int zlibLevel = 6;

    int Channels() const;
};

// The chunks of the image, from IHDR to IEND, for tests that edit them.
std::vector<TTestChunk> TestPngChunks(const TTestImage& image);
// Signature plus chunks with length and CRC.
std::vector<uint8_t> WriteTestPng(const std::vector<TTestChunk>& chunks);
inline std::vector<uint8_t> EncodeTestPng(const TTestImage& image) {
    return WriteTestPng(TestPngChunks(image));
}

// The filtered, uncompressed image data (filter bytes included).
std::vector<uint8_t> FilteredImageData(const TTestImage& image);

// Pseudo-random samples in range for the image's bit depth, reproducible by seed.
std::vector<uint16_t> RandomSamples(const TTestImage& image, uint32_t seed);

std::vector<uint8_t> BigEndian32(uint32_t value);
