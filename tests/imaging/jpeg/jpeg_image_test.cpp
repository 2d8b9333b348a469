// TJPEGImage: the header on load, the pixels on first draw, the bytes saved
// as loaded, and the limits of decoding.

#include "imaging/jpeg/jpeg_image.h"
#include "platform/core/memory_stream.h"
#include "tests/imaging/support/test_jpeg_writer.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <ostream>

namespace {

struct HeaderCase {
    const char* name;
    int width, height;
    TestJpegOptions options;
    bool grayscale;
    bool progressive;
};

void PrintTo(const HeaderCase& c, std::ostream* os) {
    *os << c.name;
}

class JpegHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(JpegHeaderTest, LoadReadsTheHeaderAndDrawDecodes) {
    const HeaderCase& c = GetParam();
    const QImage pattern = TestPattern(c.width, c.height);
    const QByteArray bytes = WriteTestJpeg(pattern, c.options);
    TMemoryStream stream;
    stream.Write(bytes);
    stream.Rewind();

    TJPEGImage jpeg;
    jpeg.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_FALSE(jpeg.Empty());
    EXPECT_EQ(jpeg.Width(), c.width);
    EXPECT_EQ(jpeg.Height(), c.height);
    EXPECT_EQ(jpeg.Grayscale(), c.grayscale);
    EXPECT_EQ(jpeg.ProgressiveEncoding(), c.progressive);
    EXPECT_FALSE(jpeg.DecodeTried()) << "loading must not decode the pixels";
    EXPECT_EQ(jpeg.SaveToBytes(), bytes);

    QImage canvas(c.width, c.height, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        jpeg.Draw(painter, canvas.rect());
    }
    EXPECT_TRUE(jpeg.DecodeTried());
    // Lossy, but close to the pattern everywhere.
    for (int y = 0; y < c.height; y += 3)
        for (int x = 0; x < c.width; x += 3) {
            const QRgb want = c.grayscale
                                  ? qRgb(qGray(pattern.pixel(x, y)), qGray(pattern.pixel(x, y)),
                                         qGray(pattern.pixel(x, y)))
                                  : pattern.pixel(x, y);
            const QRgb got = canvas.pixel(x, y);
            ASSERT_NEAR(qRed(got), qRed(want), 24) << x << "," << y;
            ASSERT_NEAR(qGreen(got), qGreen(want), 24) << x << "," << y;
            ASSERT_NEAR(qBlue(got), qBlue(want), 24) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, JpegHeaderTest,
    testing::Values(
        HeaderCase{"baseline", 40, 30, {}, false, false},
        HeaderCase{"odd size", 33, 17, {}, false, false},
        HeaderCase{"progressive", 48, 32, {.progressive = true}, false, true},
        HeaderCase{"grey", 24, 24, {.grayscale = true}, true, false},
        HeaderCase{
            "grey progressive", 16, 40, {.grayscale = true, .progressive = true}, true, true},
        HeaderCase{"adobe cmyk", 32, 16, {.cmyk = true}, false, false},
        HeaderCase{"restart markers", 64, 64, {.restartRows = 1}, false, false}),
    [](const testing::TestParamInfo<HeaderCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });

TEST(JpegImage, RefusesBytesThatAreNoJpeg) {
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("\xFF\xD8"), QByteArray("\xFF\xD8\xFF\xD9"),
          QByteArray("BM this is a bitmap"), QByteArray(300, '\xFF')}) {
        TJPEGImage jpeg;
        EXPECT_THROW(jpeg.LoadFromBytes(bytes), EJPEG) << bytes.toHex().toStdString();
        EXPECT_TRUE(jpeg.Empty());
        EXPECT_THROW(jpeg.SaveToBytes(), EInvalidGraphic);
    }
}

TEST(JpegImage, ALoadThatFailsKeepsTheImageItHad) {
    const QByteArray bytes = WriteTestJpeg(TestPattern(20, 10));
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(bytes);
    EXPECT_THROW(jpeg.LoadFromBytes("\xFF\xD8 not really"), EJPEG);
    EXPECT_EQ(jpeg.Width(), 20);
    EXPECT_EQ(jpeg.SaveToBytes(), bytes);
}

TEST(JpegImage, CopiesShareNothingThatChanges) {
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(WriteTestJpeg(TestPattern(20, 10)));
    const std::unique_ptr<TGraphic> copy = jpeg.Clone();
    jpeg.LoadFromBytes(WriteTestJpeg(TestPattern(8, 8)));
    EXPECT_EQ(copy->Width(), 20);
    EXPECT_EQ(copy->ClassName(), QStringLiteral("TJPEGImage"));
}

// ---- Decoding limits ---------------------------------------------------------------

struct LimitCase {
    const char* name;
    TJpegLimits limits;
    bool decodes;
};

void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.name;
}

class JpegLimitTest : public testing::TestWithParam<LimitCase> {};

// A 30 x 20 progressive image of 10 scans.
TEST_P(JpegLimitTest, DecodingStaysWithinTheLimits) {
    const QByteArray bytes = WriteTestJpeg(TestPattern(30, 20), {.progressive = true});
    if (GetParam().decodes) {
        EXPECT_EQ(DecodeJpeg(bytes, GetParam().limits).size(), QSize(30, 20));
    } else {
        EXPECT_THROW(DecodeJpeg(bytes, GetParam().limits), EJPEG);
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, JpegLimitTest,
                         testing::Values(LimitCase{"defaults", {}, true},
                                         LimitCase{"exactly the pixels", {600, 10}, true},
                                         LimitCase{"one pixel too many", {599, 10}, false},
                                         LimitCase{"one scan too many", {600, 9}, false}),
                         [](const testing::TestParamInfo<LimitCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (ch == ' ')
                                     ch = '_';
                             return name;
                         });

} // namespace
