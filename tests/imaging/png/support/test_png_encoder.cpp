#include "tests/imaging/png/support/test_png_encoder.h"

#include <cstdlib>
#include <random>
#include <stdexcept>
#include <zlib.h>

int TTestImage::Channels() const {
    switch (colorType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

std::vector<uint8_t> BigEndian32(uint32_t value) {
    return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

namespace {

struct Pass {
    uint32_t x0, y0, dx, dy;
};

std::vector<Pass> Passes(bool interlaced) {
    if (!interlaced)
        return {{0, 0, 1, 1}};
    return {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
}

// Packs the samples of the given pixels of one row, as the format stores them.
std::vector<uint8_t> PackRow(const TTestImage& image, uint32_t y, const std::vector<uint32_t>& xs) {
    const int channels = image.Channels();
    const int depth = image.bitDepth;
    std::vector<uint8_t> out;
    unsigned bitBuffer = 0;
    int bits = 0;
    for (uint32_t x : xs) {
        for (int c = 0; c < channels; ++c) {
            const uint16_t s = image.samples[(size_t{y} * image.width + x) * channels + c];
            if (depth == 16) {
                out.push_back(static_cast<uint8_t>(s >> 8));
                out.push_back(static_cast<uint8_t>(s));
            } else if (depth == 8) {
                out.push_back(static_cast<uint8_t>(s));
            } else {
                bitBuffer = (bitBuffer << depth) | s;
                bits += depth;
                if (bits == 8) {
                    out.push_back(static_cast<uint8_t>(bitBuffer));
                    bitBuffer = 0;
                    bits = 0;
                }
            }
        }
    }
    if (bits > 0)
        out.push_back(static_cast<uint8_t>(bitBuffer << (8 - bits)));
    return out;
}

uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

std::vector<uint8_t> FilterRow(uint8_t type, const std::vector<uint8_t>& row,
                               const std::vector<uint8_t>& prev, size_t bpp) {
    std::vector<uint8_t> out(row.size());
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= bpp ? row[i - bpp] : 0;
        const int b = prev[i];
        const int c = i >= bpp ? prev[i - bpp] : 0;
        int predictor = 0;
        switch (type) {
        case 1:
            predictor = a;
            break;
        case 2:
            predictor = b;
            break;
        case 3:
            predictor = (a + b) / 2;
            break;
        case 4:
            predictor = Paeth(a, b, c);
            break;
        default:
            break;
        }
        out[i] = static_cast<uint8_t>(row[i] - predictor);
    }
    return out;
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& raw, int level) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(size);
    return out;
}

} // namespace

std::vector<uint8_t> FilteredImageData(const TTestImage& image) {
    if (image.samples.size() != size_t{image.width} * image.height * image.Channels())
        throw std::logic_error("sample count does not match the image size");
    const size_t bitsPerPixel = size_t(image.Channels()) * image.bitDepth;
    const size_t bpp = bitsPerPixel < 8 ? 1 : bitsPerPixel / 8;
    std::vector<uint8_t> data;
    const std::vector<Pass> passes = Passes(image.interlaced);
    for (size_t p = 0; p < passes.size(); ++p) {
        const Pass& pass = passes[p];
        std::vector<uint32_t> xs;
        for (uint32_t x = pass.x0; x < image.width; x += pass.dx)
            xs.push_back(x);
        if (xs.empty())
            continue;
        std::vector<uint8_t> prev;
        uint32_t row = 0;
        for (uint32_t y = pass.y0; y < image.height; y += pass.dy, ++row) {
            const std::vector<uint8_t> packed = PackRow(image, y, xs);
            if (prev.empty())
                prev.assign(packed.size(), 0);
            const uint8_t type = image.filter(image.interlaced ? static_cast<int>(p) : 0, row);
            data.push_back(type);
            const std::vector<uint8_t> filtered =
                type > 4 ? packed : FilterRow(type, packed, prev, bpp);
            data.insert(data.end(), filtered.begin(), filtered.end());
            prev = packed;
        }
    }
    return data;
}

std::vector<TTestChunk> TestPngChunks(const TTestImage& image) {
    std::vector<TTestChunk> chunks;
    std::vector<uint8_t> header = BigEndian32(image.width);
    const std::vector<uint8_t> height = BigEndian32(image.height);
    header.insert(header.end(), height.begin(), height.end());
    header.insert(header.end(),
                  {image.bitDepth, image.colorType, 0, 0, uint8_t(image.interlaced ? 1 : 0)});
    chunks.push_back({"IHDR", header});
    if (image.gamma)
        chunks.push_back({"gAMA", BigEndian32(*image.gamma)});
    if (!image.palette.empty())
        chunks.push_back({"PLTE", image.palette});
    if (image.transparency)
        chunks.push_back({"tRNS", *image.transparency});
    chunks.insert(chunks.end(), image.chunksBeforeData.begin(), image.chunksBeforeData.end());
    const std::vector<uint8_t> compressed = Compress(FilteredImageData(image), image.zlibLevel);
    const size_t piece = image.idatChunkSize == 0 ? compressed.size() : image.idatChunkSize;
    for (size_t pos = 0; pos < compressed.size(); pos += piece) {
        const size_t end = std::min(compressed.size(), pos + piece);
        chunks.push_back(
            {"IDAT", std::vector<uint8_t>(compressed.begin() + pos, compressed.begin() + end)});
    }
    chunks.insert(chunks.end(), image.chunksAfterData.begin(), image.chunksAfterData.end());
    chunks.push_back({"IEND", {}});
    return chunks;
}

std::vector<uint8_t> WriteTestPng(const std::vector<TTestChunk>& chunks) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const TTestChunk& chunk : chunks) {
        const std::vector<uint8_t> length = BigEndian32(static_cast<uint32_t>(chunk.data.size()));
        out.insert(out.end(), length.begin(), length.end());
        std::vector<uint8_t> body(chunk.type.begin(), chunk.type.end());
        body.insert(body.end(), chunk.data.begin(), chunk.data.end());
        uint32_t crc = static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
        if (chunk.badCrc)
            crc ^= 1;
        out.insert(out.end(), body.begin(), body.end());
        const std::vector<uint8_t> crcBytes = BigEndian32(crc);
        out.insert(out.end(), crcBytes.begin(), crcBytes.end());
    }
    return out;
}

std::vector<uint16_t> RandomSamples(const TTestImage& image, uint32_t seed) {
    std::mt19937 random(seed);
    const uint32_t maxValue = (1u << image.bitDepth) - 1;
    const uint32_t limit = image.colorType == 3
                               ? std::min<uint32_t>(maxValue, image.palette.size() / 3 - 1)
                               : maxValue;
    std::vector<uint16_t> samples(size_t{image.width} * image.height * image.Channels());
    // Smooth areas mixed with noise, so that every predictor branch occurs.
    for (size_t i = 0; i < samples.size(); ++i) {
        const uint32_t noise = random() % (limit + 1);
        const uint32_t smooth = static_cast<uint32_t>((i * 7) % (limit + 1));
        samples[i] = static_cast<uint16_t>((random() % 3 == 0) ? smooth : noise);
    }
    return samples;
}
