// Decodes generated images of every colour type, bit depth, interlacing and
// filter with TPNGObject and with libpng and compares them sample for sample.

#include "controls/png/png_object.h"
#include "tests/controls/png/support/libpng_reference.h"
#include "tests/controls/png/support/test_png_encoder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <tuple>
#include <zlib.h>

namespace {

struct Format {
    uint8_t colorType;
    uint8_t bitDepth;
};

const Format allFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                             {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

std::vector<uint8_t> TestPalette(size_t entries) {
    std::vector<uint8_t> palette;
    for (size_t i = 0; i < entries; ++i)
        palette.insert(palette.end(), {uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * i)});
    return palette;
}

TTestImage MakeImage(Format format, uint32_t width, uint32_t height, bool interlaced,
                     uint32_t seed) {
    TTestImage image;
    image.width = width;
    image.height = height;
    image.colorType = format.colorType;
    image.bitDepth = format.bitDepth;
    image.interlaced = interlaced;
    if (format.colorType == 3)
        image.palette = TestPalette(std::min<size_t>(size_t{1} << format.bitDepth, 200));
    image.samples = RandomSamples(image, seed);
    return image;
}

TPNGObject Decode(const std::vector<uint8_t>& bytes) {
    TPNGObject png;
    png.LoadFromBytes(bytes);
    return png;
}

// Reports the first differing pixel, which says far more than a vector dump.
void ExpectSameRgba(const TPNGObject& png, const TReferenceImage& reference, int tolerance = 0) {
    ASSERT_EQ(png.Width(), reference.width);
    ASSERT_EQ(png.Height(), reference.height);
    ASSERT_EQ(png.Pixels().size(), reference.rgba.size());
    for (size_t i = 0; i < reference.rgba.size(); ++i) {
        if (std::abs(int(png.Pixels()[i]) - int(reference.rgba[i])) > tolerance) {
            const size_t pixel = i / 4;
            FAIL() << "pixel (" << pixel % reference.width << ", " << pixel / reference.width
                   << ") channel " << i % 4 << ": decoded " << int(png.Pixels()[i]) << ", libpng "
                   << int(reference.rgba[i]);
        }
    }
}

std::string FormatName(Format f) {
    return "Type" + std::to_string(f.colorType) + "Depth" + std::to_string(f.bitDepth);
}

// --- every format x interlacing x filter ----------------------------------

using FilterCase = std::tuple<Format, bool, int>; // format, interlaced, filter (5: all mixed)

void PrintTo(const Format& f, std::ostream* os) {
    *os << FormatName(f);
}

class PngFormatTest : public testing::TestWithParam<FilterCase> {};

TEST_P(PngFormatTest, MatchesLibpng) {
    const auto [format, interlaced, filter] = GetParam();
    // Odd sizes leave partial bytes at the row ends and uneven Adam7 passes.
    TTestImage image = MakeImage(format, 37, 19, interlaced, 11);
    if (filter < 5)
        image.filter = [f = filter](int, uint32_t) { return static_cast<uint8_t>(f); };
    const std::vector<uint8_t> bytes = EncodeTestPng(image);
    ExpectSameRgba(Decode(bytes), DecodeWithLibpng(bytes));
}

std::string FilterCaseName(const testing::TestParamInfo<FilterCase>& info) {
    const auto [format, interlaced, filter] = info.param;
    return FormatName(format) + (interlaced ? "Adam7" : "Plain") + "Filter" +
           std::to_string(filter);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, PngFormatTest,
                         testing::Combine(testing::ValuesIn(allFormats), testing::Bool(),
                                          testing::Range(0, 6)),
                         FilterCaseName);

// --- small sizes, where Adam7 passes are empty ------------------------------

TEST(PngSmallImageTest, EverySizeUpToNineMatchesLibpng) {
    for (const Format format : {Format{0, 1}, Format{2, 8}, Format{6, 16}, Format{3, 4}}) {
        for (uint32_t w = 1; w <= 9; ++w) {
            for (uint32_t h = 1; h <= 9; ++h) {
                SCOPED_TRACE(FormatName(format) + " " + std::to_string(w) + "x" +
                             std::to_string(h));
                const std::vector<uint8_t> bytes =
                    EncodeTestPng(MakeImage(format, w, h, true, w * h));
                ExpectSameRgba(Decode(bytes), DecodeWithLibpng(bytes));
            }
        }
    }
}

// --- tRNS ---------------------------------------------------------------------

// tRNS for an image whose first pixel holds the transparent colour, so that
// the key is sure to occur.
std::vector<uint8_t> TransparencyFor(const TTestImage& image) {
    std::vector<uint8_t> trns;
    const int channels = image.colorType == 2 ? 3 : 1;
    for (int c = 0; c < channels; ++c) {
        const uint16_t s = image.samples[c];
        trns.insert(trns.end(), {uint8_t(s >> 8), uint8_t(s)});
    }
    return trns;
}

class PngTransparencyTest : public testing::TestWithParam<std::tuple<Format, bool>> {};

TEST_P(PngTransparencyTest, MatchesLibpng) {
    const auto [format, interlaced] = GetParam();
    TTestImage image = MakeImage(format, 23, 17, interlaced, 5);
    if (format.colorType == 3) {
        // Partial alpha and fewer tRNS entries than palette entries.
        std::vector<uint8_t> alpha;
        for (size_t i = 0; i + 1 < image.palette.size() / 3; ++i)
            alpha.push_back(static_cast<uint8_t>(255 - i * 29));
        image.transparency = alpha;
    } else {
        // Repeat the first pixel along the first row so that the key matches often.
        const int channels = image.Channels();
        for (uint32_t x = 0; x < image.width; x += 3)
            for (int c = 0; c < channels; ++c)
                image.samples[x * channels + c] = image.samples[c];
        image.transparency = TransparencyFor(image);
    }
    const std::vector<uint8_t> bytes = EncodeTestPng(image);
    const TPNGObject png = Decode(bytes);
    ExpectSameRgba(png, DecodeWithLibpng(bytes));
    EXPECT_NE(png.Transparency(), TPngTransparency::None);
}

INSTANTIATE_TEST_SUITE_P(KeyedFormats, PngTransparencyTest,
                         testing::Combine(testing::Values(Format{0, 1}, Format{0, 2}, Format{0, 4},
                                                          Format{0, 8}, Format{0, 16}, Format{2, 8},
                                                          Format{2, 16}, Format{3, 2},
                                                          Format{3, 8}),
                                          testing::Bool()),
                         [](const auto& info) {
                             return FormatName(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) ? "Adam7" : "Plain");
                         });

// A 16-bit key must be compared on all 16 bits: a sample with the same high
// byte but another low byte stays opaque.
TEST(PngTransparencyKeyTest, SixteenBitKeyComparesTheLowByteToo) {
    TTestImage image;
    image.width = 2;
    image.colorType = 0;
    image.bitDepth = 16;
    image.samples = {0x1234, 0x1235};
    image.transparency = std::vector<uint8_t>{0x12, 0x34};
    const TPNGObject png = Decode(EncodeTestPng(image));
    EXPECT_EQ(png.Pixels()[3], 0);
    EXPECT_EQ(png.Pixels()[7], 255);
    EXPECT_EQ(png.Pixels()[4], 0x12);
}

// --- gAMA ---------------------------------------------------------------------

// The correction the decoder must apply, written out independently.
uint8_t Corrected(uint8_t value, uint32_t gamma) {
    return static_cast<uint8_t>(
        std::lround(255.0 * std::pow(value / 255.0, 100000.0 / (2.2 * gamma))));
}

class PngGammaTest : public testing::TestWithParam<std::tuple<Format, uint32_t>> {};

TEST_P(PngGammaTest, AppliesTheTableToColourNotAlpha) {
    const auto [format, gamma] = GetParam();
    TTestImage image = MakeImage(format, 29, 13, true, 3);
    const std::vector<uint8_t> plain = EncodeTestPng(image);
    image.gamma = gamma;
    const std::vector<uint8_t> corrected = EncodeTestPng(image);
    const TPNGObject png = Decode(corrected);

    // Exact: the formula applied to libpng's uncorrected samples.
    TReferenceImage expected = DecodeWithLibpng(plain);
    for (size_t i = 0; i < expected.rgba.size(); ++i) {
        if (i % 4 != 3)
            expected.rgba[i] = Corrected(expected.rgba[i], gamma);
    }
    ExpectSameRgba(png, expected);

    // libpng's own correction agrees within rounding where it works on the
    // same 8-bit samples (at 16 bits it corrects before reducing).
    if (format.bitDepth <= 8)
        ExpectSameRgba(png, DecodeWithLibpng(corrected, 2.2), 1);
}

INSTANTIATE_TEST_SUITE_P(Gammas, PngGammaTest,
                         testing::Combine(testing::Values(Format{0, 4}, Format{0, 8}, Format{0, 16},
                                                          Format{2, 8}, Format{2, 16}, Format{3, 8},
                                                          Format{4, 8}, Format{6, 8},
                                                          Format{6, 16}),
                                          testing::Values(100000u, 25000u, 45455u)),
                         [](const auto& info) {
                             return FormatName(std::get<0>(info.param)) + "Gamma" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST(PngGammaTableTest, FollowsTheFormula) {
    TTestImage image = MakeImage({0, 8}, 4, 4, false, 1);
    image.gamma = 100000;
    const TPngGammaTable table = Decode(EncodeTestPng(image)).GammaTable();
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(table[i], Corrected(static_cast<uint8_t>(i), 100000)) << i;
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[255], 255);
}

TEST(PngGammaTableTest, ZeroGammaIsTheIdentity) {
    TTestImage image = MakeImage({2, 8}, 5, 3, false, 2);
    const std::vector<uint8_t> plain = EncodeTestPng(image);
    image.gamma = 0;
    const TPNGObject png = Decode(EncodeTestPng(image));
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(png.GammaTable()[i], i);
    EXPECT_EQ(png.Pixels(), Decode(plain).Pixels());
}

// --- how the image data is laid out ------------------------------------------

TEST(PngImageDataTest, ManySmallIdatChunksAreOneStream) {
    TTestImage image = MakeImage({6, 8}, 41, 23, true, 9);
    const std::vector<uint8_t> whole = EncodeTestPng(image);
    image.idatChunkSize = 7;
    // An empty IDAT in the middle of the run is legal too.
    std::vector<TTestChunk> chunks = TestPngChunks(image);
    chunks.insert(chunks.begin() + 3, TTestChunk{"IDAT", {}});
    const std::vector<uint8_t> split = WriteTestPng(chunks);
    EXPECT_EQ(Decode(split).Pixels(), Decode(whole).Pixels());
    ExpectSameRgba(Decode(split), DecodeWithLibpng(split));
}

// Extra data after the last row, or a stream whose end (and checksum) is
// missing, are let pass, as libpng does.
TEST(PngImageDataTest, StreamLongerOrShorterAtTheEndDecodes) {
    TTestImage image = MakeImage({2, 8}, 9, 6, false, 6);
    const TPNGObject expected = Decode(EncodeTestPng(image));
    std::vector<uint8_t> raw = FilteredImageData(image);
    raw.insert(raw.end(), 100, 0);
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> longer(size);
    ASSERT_EQ(compress2(longer.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6), Z_OK);
    longer.resize(size);
    std::vector<TTestChunk> chunks = TestPngChunks(image);
    chunks[1].data = longer;
    EXPECT_EQ(Decode(WriteTestPng(chunks)).Pixels(), expected.Pixels());

    chunks = TestPngChunks(image);
    chunks[1].data.resize(chunks[1].data.size() - 4); // the Adler-32
    EXPECT_EQ(Decode(WriteTestPng(chunks)).Pixels(), expected.Pixels());
}

TEST(PngImageDataTest, UncompressedDeflateBlocksDecode) {
    TTestImage image = MakeImage({2, 16}, 64, 40, false, 4);
    image.zlibLevel = 0;
    const std::vector<uint8_t> bytes = EncodeTestPng(image);
    ExpectSameRgba(Decode(bytes), DecodeWithLibpng(bytes));
}

TEST(PngImageDataTest, WideImageMatchesLibpng) {
    const std::vector<uint8_t> bytes = EncodeTestPng(MakeImage({6, 8}, 1500, 3, false, 8));
    ExpectSameRgba(Decode(bytes), DecodeWithLibpng(bytes));
}

} // namespace
