// The committed glyph of the "Salir" button decodes as the button expects.

#include "imaging/png/png_object.h"
#include "tests/imaging/png/support/libpng_reference.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <zlib.h>

namespace {

std::vector<uint8_t> GlyphBytes() {
    std::ifstream file(AMQB_SALIR_GLYPH_PATH, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(SalirGlyphTest, IsTheSixteenPixelCross) {
    const std::vector<uint8_t> bytes = GlyphBytes();
    ASSERT_EQ(bytes.size(), 599u);
    TPNGObject png;
    png.LoadFromBytes(bytes);

    EXPECT_EQ(png.Width(), 16u);
    EXPECT_EQ(png.Height(), 16u);
    EXPECT_EQ(png.ColorType(), TPngColorType::TruecolorAlpha);
    EXPECT_EQ(png.BitDepth(), 8);
    EXPECT_FALSE(png.Interlaced());
    std::vector<std::string> types;
    for (const TPngChunk& chunk : png.Chunks())
        types.push_back(chunk.type);
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "tEXt", "IDAT", "IEND"}));
    ASSERT_EQ(png.Texts().size(), 1u);
    EXPECT_EQ(png.Texts()[0].keyword, "Software");
    EXPECT_EQ(png.SaveToBytes(), bytes);

    auto pixel = [&](uint32_t x, uint32_t y) {
        const uint8_t* p = png.ScanLine(y) + x * 4;
        return std::vector<int>{p[0], p[1], p[2], p[3]};
    };
    // Transparent corners and edges, an opaque red centre and bar ends.
    for (uint32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(pixel(i, 0)[3], 0);
        EXPECT_EQ(pixel(0, i)[3], 0);
        EXPECT_EQ(pixel(15, i)[3], 0);
    }
    for (const auto& [x, y] : {std::pair{7u, 7u}, {8u, 8u}, {4u, 4u}, {11u, 4u}, {4u, 11u}}) {
        const std::vector<int> p = pixel(x, y);
        EXPECT_EQ(p[3], 255) << x << "," << y;
        EXPECT_GT(p[0], 2 * p[1]) << x << "," << y;
        EXPECT_GT(p[0], 2 * p[2]) << x << "," << y;
    }
    // Between the arms, above the centre, it is see-through.
    EXPECT_EQ(pixel(7, 2)[3], 0);
    EXPECT_EQ(pixel(2, 7)[3], 0);
    // Anti-aliased edges.
    bool partial = false;
    for (uint8_t a : png.Pixels())
        partial = partial || (a > 0 && a < 255);
    EXPECT_TRUE(partial);

    const TReferenceImage reference = DecodeWithLibpng(bytes);
    EXPECT_EQ(png.Pixels(), reference.rgba);
}

TEST(SalirGlyphTest, EveryRowIsFilteredWithSub) {
    TPNGObject png;
    png.LoadFromBytes(GlyphBytes());
    const std::vector<uint8_t>& compressed = png.FindChunk("IDAT")->data;
    std::vector<uint8_t> raw(16 * (1 + 16 * 4));
    uLongf size = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &size, compressed.data(), compressed.size()), Z_OK);
    ASSERT_EQ(size, raw.size());
    for (size_t row = 0; row < 16; ++row)
        EXPECT_EQ(raw[row * 65], 1) << row;
}

} // namespace
