#include "controls/pngbutton/png_disabled_look.h"
#include "tests/controls/pngbutton/test_pngs.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> Alphas(const QImage& image) {
    std::vector<int> alphas;
    for (int x = 0; x < image.width(); ++x)
        alphas.push_back(image.constScanLine(0)[x * 4 + 3]);
    return alphas;
}

std::vector<int> Reds(const QImage& image) {
    std::vector<int> reds;
    for (int x = 0; x < image.width(); ++x)
        reds.push_back(image.constScanLine(0)[x * 4]);
    return reds;
}

TEST(PngDisabledLook, RoundingTakesTheEvenNeighbourOfAHalf) {
    const struct {
        int alpha, halved;
    } halves[] = {{0, 0},   {1, 0},    {2, 1},     {3, 2},     {5, 2},
                  {77, 38}, {128, 64}, {253, 126}, {254, 127}, {255, 128}};
    for (const auto& h : halves)
        EXPECT_EQ(HalveAlpha(static_cast<uint8_t>(h.alpha)), h.halved) << h.alpha;

    const struct {
        int r, g, b, gray;
    } grays[] = {
        {5, 0, 0, 2},         // 1.5
        {15, 0, 0, 4},        // 4.5
        {0, 0, 50, 6},        // 5.5
        {255, 255, 255, 255}, // the weights add up to exactly 1
        {225, 225, 10, 201},  // 201.35
        {0, 1, 0, 1},         // 0.59
    };
    for (const auto& g : grays)
        EXPECT_EQ(
            GrayOf(static_cast<uint8_t>(g.r), static_cast<uint8_t>(g.g), static_cast<uint8_t>(g.b)),
            g.gray)
            << g.r << "," << g.g << "," << g.b;
}

// A 3 x 1 image of each colour type and what the blend makes of its alpha.
TEST(PngDisabledLook, TheBlendHalvesAlphaAndGivesImagesWithoutAlphaTheirOwn) {
    const struct {
        const char* name;
        TTestImage image;
        std::vector<int> alphas;
    } cases[] = {
        {"truecolour with alpha", Row(6, {9, 9, 9, 0, 9, 9, 9, 128, 9, 9, 9, 255}), {0, 64, 128}},
        {"grey with alpha", Row(4, {9, 0, 9, 77, 9, 255}), {0, 38, 128}},
        {"truecolour", Row(2, {1, 2, 3, 4, 5, 6, 7, 8, 9}), {128, 128, 128}},
        {"truecolour, one transparent colour",
         Row(2, {1, 2, 3, 4, 5, 6, 1, 2, 3}, {}, std::vector<uint8_t>{0, 1, 0, 2, 0, 3}),
         {0, 128, 0}},
        {"grey", Row(0, {0, 100, 255}), {127, 127, 127}},
        {"grey, one transparent colour",
         Row(0, {0, 100, 255}, {}, std::vector<uint8_t>{0, 100}),
         {127, 0, 127}},
        {"indexed", Row(3, {0, 1, 2}, {1, 1, 1, 2, 2, 2, 3, 3, 3}), {127, 127, 127}},
        {"indexed, transparency of 0 and 255",
         Row(3, {0, 1, 2}, {1, 1, 1, 2, 2, 2, 3, 3, 3}, std::vector<uint8_t>{0, 255}),
         {0, 127, 127}},
        {"indexed with alpha values",
         Row(3, {0, 1, 2}, {1, 1, 1, 2, 2, 2, 3, 3, 3}, std::vector<uint8_t>{0, 100, 255}),
         {0, 50, 128}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TPNGObject png = DecodePng(c.image);
        EXPECT_EQ(Alphas(PngGlyphPixels(png, false, pngBlendOnDisabled)), c.alphas);
        // Enabled, the options change nothing.
        EXPECT_EQ(PngGlyphPixels(png, true, pngBlendOnDisabled | pngGrayscaleOnDisabled),
                  PngGlyphPixels(png, true, 0));
    }
}

TEST(PngDisabledLook, TheGreyOptionGreysColoursButLeavesGreyImagesAlone) {
    const TPNGObject truecolour = RgbaRow({225, 225, 10, 255, 15, 0, 0, 100});
    const QImage gray = PngGlyphPixels(truecolour, false, pngGrayscaleOnDisabled);
    for (int x = 0; x < 2; ++x) {
        const uint8_t* p = gray.constScanLine(0) + x * 4;
        EXPECT_EQ(p[1], p[0]);
        EXPECT_EQ(p[2], p[0]);
    }
    EXPECT_EQ(Reds(gray), (std::vector<int>{201, 4}));
    EXPECT_EQ(Alphas(gray), (std::vector<int>{255, 100}));

    // Indexed: the palette colours turn grey.
    const TPNGObject indexed = DecodePng(Row(3, {1, 0}, {225, 225, 10, 0, 0, 50}));
    EXPECT_EQ(Reds(PngGlyphPixels(indexed, false, pngGrayscaleOnDisabled)),
              (std::vector<int>{6, 201}));

    const TPNGObject grayAlpha = DecodePng(Row(4, {77, 255, 200, 3}));
    EXPECT_EQ(PngGlyphPixels(grayAlpha, false, pngGrayscaleOnDisabled),
              PngGlyphPixels(grayAlpha, true, 0));

    // Both: faded and grey.
    const QImage both =
        PngGlyphPixels(truecolour, false, pngBlendOnDisabled | pngGrayscaleOnDisabled);
    EXPECT_EQ(Reds(both), (std::vector<int>{201, 4}));
    EXPECT_EQ(Alphas(both), (std::vector<int>{128, 50}));
    // Neither: the image as it is.
    EXPECT_EQ(PngGlyphPixels(truecolour, false, 0), PngGlyphPixels(truecolour, true, 0));
}

} // namespace
