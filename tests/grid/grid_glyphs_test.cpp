// The grid's pictures: their sizes, their transparent backgrounds, and what
// tells them apart.

#include "grid/glyphs/grid_glyphs.h"

#include <gtest/gtest.h>

namespace {

int InkPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) != 0;
    return count;
}

bool MirroredTopToBottom(const QImage& a, const QImage& b) {
    // The shapes (not their edge colours) are each other's mirror image,
    // up to the one row the bitmap's odd height shifts them by.
    for (int shift = -1; shift <= 1; ++shift) {
        bool same = true;
        for (int y = 0; y < a.height() && same; ++y)
            for (int x = 0; x < a.width() && same; ++x) {
                const int my = a.height() - 1 - y + shift;
                const bool inA = qAlpha(a.pixel(x, y)) != 0;
                const bool inB = my >= 0 && my < b.height() && qAlpha(b.pixel(x, my)) != 0;
                same = inA == inB;
            }
        if (same)
            return true;
    }
    return false;
}

} // namespace

TEST(GridGlyphs, SizesAndTransparentCorners) {
    const char* indicators[] = {"DBGARROWEH",   "DBEDITEH",       "DBINSERTEH",
                                "DBMULTIDOTEH", "DBMULTIARROWEH", "DBGARROWEHW"};
    for (const char* name : indicators) {
        const QImage image = GridBitmap(QLatin1String(name));
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(6, 11)) << name;
        EXPECT_GT(InkPixels(image), 3) << name;
        EXPECT_EQ(qAlpha(image.pixel(5, 10)), 0) << name;
    }
    for (const char* name : {"DBSMDOWNEH", "DBSMUPEH", "DBSMDOWNEH_1", "DBSMUPEH_1"}) {
        const QImage image = GridBitmap(QLatin1String(name));
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.size(), QSize(10, 9)) << name;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << name;
        EXPECT_EQ(qAlpha(image.pixel(9, 8)), 0) << name;
    }
    EXPECT_FALSE(GridBitmap(QStringLiteral("DROPDOWNEH")).isNull());
    EXPECT_TRUE(GridBitmap(QStringLiteral("NOSUCHBITMAP")).isNull());
}

TEST(GridGlyphs, TheArrowPointsRightAndTheMarkersPointOppositeWays) {
    const QImage& arrow = IndicatorGlyph(TIndicatorGlyphEh::Arrow);
    // Widest in the middle row, one pixel at the top and bottom of the triangle.
    auto rowInk = [&](int y) {
        int n = 0;
        for (int x = 0; x < arrow.width(); ++x)
            n += qAlpha(arrow.pixel(x, y)) != 0;
        return n;
    };
    EXPECT_EQ(rowInk(5), 5);
    EXPECT_EQ(rowInk(1), 1);
    EXPECT_EQ(rowInk(9), 1);
    // The white arrow is the same shape.
    const QImage& white = IndicatorGlyph(TIndicatorGlyphEh::ArrowWhite);
    EXPECT_EQ(InkPixels(white), InkPixels(arrow));
    EXPECT_EQ(white.pixelColor(0, 5), QColor(255, 255, 255));
    EXPECT_EQ(arrow.pixelColor(0, 5), QColor(0, 0, 0));

    EXPECT_TRUE(MirroredTopToBottom(SortMarkerGlyph(TSortMarkerGlyphEh::Down),
                                    SortMarkerGlyph(TSortMarkerGlyphEh::Up)));
    // Dark left edge, light right edge.
    const QImage& down = SortMarkerGlyph(TSortMarkerGlyphEh::Down);
    EXPECT_LT(down.pixelColor(1, 3).lightness(), down.pixelColor(7, 3).lightness());
}
