// Decoding time of TPNGObject against libpng, both producing 8-bit RGBA from
// the same PNG bytes: a 2000 x 2000 RGBA image and a 2000 x 2000 image of
// 256 palette colours, written by libpng with its adaptive filter choice.

#include "imaging/png/png_object.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <png.h>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

constexpr uint32_t Side = 2000;

void AppendData(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void Flush(png_structp) {}

// Rows of `channels` bytes per pixel; `palette` for colour type 3.
std::vector<uint8_t> EncodeWithLibpng(int colorType, int channels,
                                      const std::vector<uint8_t>& pixels,
                                      const std::vector<png_color>& palette = {}) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not encode the benchmark image");
    }
    png_set_write_fn(png, &out, AppendData, Flush);
    png_set_IHDR(png, info, Side, Side, 8, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_set_filter(png, 0, PNG_ALL_FILTERS);
    png_write_info(png, info);
    for (uint32_t y = 0; y < Side; ++y)
        png_write_row(png, pixels.data() + size_t{y} * Side * channels);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A photo-like picture: smooth shapes with a little noise.
uint8_t Sample(uint32_t x, uint32_t y, int channel, std::mt19937& random) {
    const double v = 127.5 + 60 * std::sin((x + 40.0 * channel) / 97.0) +
                     50 * std::cos((y * 1.3 + x * 0.4 + 25.0 * channel) / 61.0);
    return static_cast<uint8_t>(std::clamp(v + static_cast<int>(random() % 9) - 4, 0.0, 255.0));
}

const std::vector<uint8_t>& RgbaFile() {
    static const std::vector<uint8_t> file = [] {
        std::mt19937 random(1);
        std::vector<uint8_t> pixels(size_t{Side} * Side * 4);
        for (uint32_t y = 0; y < Side; ++y)
            for (uint32_t x = 0; x < Side; ++x)
                for (int c = 0; c < 4; ++c)
                    pixels[(size_t{y} * Side + x) * 4 + c] =
                        c == 3 ? static_cast<uint8_t>(std::min<uint32_t>(255, (x + y) / 8))
                               : Sample(x, y, c, random);
        return EncodeWithLibpng(PNG_COLOR_TYPE_RGBA, 4, pixels);
    }();
    return file;
}

const std::vector<uint8_t>& IndexedFile() {
    static const std::vector<uint8_t> file = [] {
        std::mt19937 random(2);
        std::vector<uint8_t> pixels(size_t{Side} * Side);
        for (uint32_t y = 0; y < Side; ++y)
            for (uint32_t x = 0; x < Side; ++x)
                pixels[size_t{y} * Side + x] = Sample(x, y, 0, random);
        std::vector<png_color> palette(256);
        for (int i = 0; i < 256; ++i)
            palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
        return EncodeWithLibpng(PNG_COLOR_TYPE_PALETTE, 1, pixels, palette);
    }();
    return file;
}

struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t pos;
};

void ReadData(png_structp png, png_bytep out, png_size_t size) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->bytes->size() - reader->pos < size)
        png_error(png, "read past the end");
    std::memcpy(out, reader->bytes->data() + reader->pos, size);
    reader->pos += size;
}

// libpng decoding to the same RGBA output as TPNGObject.
std::vector<uint8_t> DecodeWithLibpng(const std::vector<uint8_t>& bytes) {
    MemoryReader reader{&bytes, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<uint8_t> rgba;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw std::runtime_error("libpng could not decode the benchmark image");
    }
    png_set_read_fn(png, &reader, ReadData);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if (!(png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) &&
        !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const uint32_t width = png_get_image_width(png, info);
    const uint32_t height = png_get_image_height(png, info);
    rgba.resize(size_t{width} * height * 4);
    rows.resize(height);
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = rgba.data() + size_t{y} * width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return rgba;
}

void Report(benchmark::State& state, const std::vector<uint8_t>& file) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * Side * Side * 4);
    state.counters["file_bytes"] = static_cast<double>(file.size());
}

void BM_TPNGObject_Rgba(benchmark::State& state) {
    const std::vector<uint8_t>& file = RgbaFile();
    for (auto _ : state) {
        TPNGObject png;
        png.LoadFromBytes(file);
        benchmark::DoNotOptimize(png.Pixels().data());
    }
    Report(state, file);
}

void BM_Libpng_Rgba(benchmark::State& state) {
    const std::vector<uint8_t>& file = RgbaFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeWithLibpng(file).data());
    Report(state, file);
}

void BM_TPNGObject_Indexed(benchmark::State& state) {
    const std::vector<uint8_t>& file = IndexedFile();
    for (auto _ : state) {
        TPNGObject png;
        png.LoadFromBytes(file);
        benchmark::DoNotOptimize(png.Pixels().data());
    }
    Report(state, file);
}

void BM_Libpng_Indexed(benchmark::State& state) {
    const std::vector<uint8_t>& file = IndexedFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeWithLibpng(file).data());
    Report(state, file);
}

// Both decoders must agree on the benchmark images, or the timings mean nothing.
void CheckSameOutput(const std::vector<uint8_t>& file) {
    TPNGObject png;
    png.LoadFromBytes(file);
    if (png.Pixels() != DecodeWithLibpng(file))
        throw std::runtime_error("TPNGObject and libpng disagree on a benchmark image");
}

const bool checked = (CheckSameOutput(RgbaFile()), CheckSameOutput(IndexedFile()), true);

} // namespace

BENCHMARK(BM_TPNGObject_Rgba)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libpng_Rgba)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TPNGObject_Indexed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libpng_Indexed)->Unit(benchmark::kMillisecond);
