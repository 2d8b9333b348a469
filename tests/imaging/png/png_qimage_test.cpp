// The QImage made from a decoded PNG carries the same straight-alpha pixels.

#include "imaging/png/png_qimage.h"

#include <gtest/gtest.h>

TEST(PngQImageTest, CopiesPixelsWithStraightAlpha) {
    const std::vector<uint8_t> rgba = {255, 0, 0, 128, 0, 0, 255, 255, 10, 20, 30, 0, 1, 2, 3, 4};
    const QImage image = PngToQImage(TPNGObject::FromRgba(2, 2, rgba.data(), true));
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.format(), QImage::Format_RGBA8888);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0, 128));
    EXPECT_EQ(image.pixelColor(1, 0), QColor(0, 0, 255, 255));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(1, 2, 3, 4));
    EXPECT_TRUE(PngToQImage(TPNGObject()).isNull());
}
