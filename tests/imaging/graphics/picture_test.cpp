// TPicture: one graphic at most, a change notice for every setting, and the
// bitmap loading of blobs with their optional 8-byte header.

#include "imaging/graphics/bitmap.h"
#include "imaging/graphics/picture.h"
#include "tests/imaging/support/test_images.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

QByteArray Le16(uint16_t v) {
    const char bytes[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    return QByteArray(bytes, 2);
}

QByteArray Le32(uint32_t v) {
    return Le16(static_cast<uint16_t>(v & 0xFFFF)) + Le16(static_cast<uint16_t>(v >> 16));
}

const QByteArray kBmp = BmpFile(Solid(6, 4, qRgb(9, 8, 7)));

// The 8-byte header: count, type, size of what follows.
QByteArray Header(uint16_t count, uint16_t type, uint32_t size) {
    return Le16(count) + Le16(type) + Le32(size);
}

struct BlobCase {
    const char* name;
    QByteArray blob;
    bool loads;
};

void PrintTo(const BlobCase& c, std::ostream* os) {
    *os << c.name;
}

class PictureBlobTest : public testing::TestWithParam<BlobCase> {};

TEST_P(PictureBlobTest, SkipsTheHeaderOnlyWhenItFits) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    if (GetParam().loads) {
        picture.LoadBitmapFromBlob(GetParam().blob);
        ASSERT_NE(picture.Graphic(), nullptr);
        EXPECT_EQ(picture.Graphic()->ClassName(), QStringLiteral("TBitmap"));
        EXPECT_EQ(picture.Width(), 6);
        EXPECT_EQ(changes, 1);
    } else {
        EXPECT_THROW(picture.LoadBitmapFromBlob(GetParam().blob), EInvalidGraphic);
        EXPECT_EQ(picture.Graphic(), nullptr);
        EXPECT_EQ(changes, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blobs, PictureBlobTest,
    testing::Values(
        BlobCase{"header_and_bitmap", Header(1, 0x0100, uint32_t(kBmp.size())) + kBmp, true},
        BlobCase{"plain_bitmap", kBmp, true},
        BlobCase{"size_one_short", Header(1, 0x0100, uint32_t(kBmp.size()) - 1) + kBmp, false},
        BlobCase{"size_one_long", Header(1, 0x0100, uint32_t(kBmp.size()) + 1) + kBmp, false},
        BlobCase{"count_two", Header(2, 0x0100, uint32_t(kBmp.size())) + kBmp, false},
        BlobCase{"other_type", Header(1, 0x0200, uint32_t(kBmp.size())) + kBmp, false},
        BlobCase{"header_of_nothing", Header(1, 0x0100, 0), false},
        BlobCase{"seven_bytes", Header(1, 0x0100, 0).left(7), false},
        BlobCase{"header_and_garbage", Header(1, 0x0100, 5) + "12345", false}),
    [](const testing::TestParamInfo<BlobCase>& info) { return std::string(info.param.name); });

TEST(Picture, EverySettingIsAChangeAndHoldsACopy) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.Clear(); // none to none is a change too
    EXPECT_EQ(changes, 1);

    TBitmap bitmap(Solid(3, 2, qRgb(1, 1, 1)));
    picture.SetGraphic(&bitmap);
    EXPECT_EQ(changes, 2);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_NE(picture.Graphic(), &bitmap);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);

    TPicture other;
    other.Assign(picture);
    EXPECT_EQ(other.Width(), 3);
    picture.SetGraphic(nullptr);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(other.Width(), 3);
}

} // namespace
