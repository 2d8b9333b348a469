// Truncated and damaged JPEG data never ends the process: the header either
// reads or is refused with EJPEG, and drawing what loaded decodes whatever
// libjpeg can make of the rest.

#include "imaging/jpeg/jpeg_image.h"
#include "tests/imaging/support/test_jpeg_writer.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The header runs up to the first scan's SOS segment, whose last bytes
// libjpeg may take from the end-of-image marker it puts after cut data.
qsizetype ScanStart(const QByteArray& jpeg) {
    return jpeg.indexOf("\xFF\xDA");
}
qsizetype HeaderEnd(const QByteArray& jpeg) {
    const qsizetype sos = ScanStart(jpeg);
    return sos + 2 +
           (static_cast<uint8_t>(jpeg[sos + 2]) << 8 | static_cast<uint8_t>(jpeg[sos + 3]));
}

// Loads and, when the header read, draws; returns whether it loaded.
bool LoadAndDraw(QByteArrayView bytes) {
    TJPEGImage jpeg;
    try {
        jpeg.LoadFromBytes(bytes);
    } catch (const EJPEG&) {
        EXPECT_TRUE(jpeg.Empty());
        return false;
    }
    EXPECT_GT(jpeg.Width(), 0);
    EXPECT_GT(jpeg.Height(), 0);
    QImage canvas(16, 16, QImage::Format_RGB32);
    QPainter painter(&canvas);
    jpeg.Draw(painter, canvas.rect());
    const QImage pixels = jpeg.ToImage();
    EXPECT_TRUE(pixels.isNull() || pixels.size() == QSize(jpeg.Width(), jpeg.Height()));
    return true;
}

class JpegDamageTest : public testing::TestWithParam<bool> {
protected:
    // A small image, baseline or progressive.
    QByteArray Sample() const {
        return WriteTestJpeg(TestPattern(24, 16), {.progressive = GetParam(), .quality = 60});
    }
};

TEST_P(JpegDamageTest, EveryPrefixWithoutItsHeaderIsRefusedAndTheOthersLoad) {
    const QByteArray jpeg = Sample();
    for (qsizetype n = 0; n <= jpeg.size(); ++n) {
        const bool loaded = LoadAndDraw(QByteArrayView(jpeg).first(n));
        if (n <= ScanStart(jpeg)) {
            ASSERT_FALSE(loaded) << "prefix " << n;
        } else if (n >= HeaderEnd(jpeg)) {
            ASSERT_TRUE(loaded) << "prefix " << n;
        }
    }
}

TEST_P(JpegDamageTest, FlippedBytesNeverEndTheProcess) {
    const QByteArray jpeg = Sample();
    int loaded = 0;
    for (qsizetype i = 0; i < jpeg.size(); ++i)
        for (const char mask : {'\xFF', '\x01', '\x80'}) {
            QByteArray damaged = jpeg;
            damaged[i] = static_cast<char>(damaged[i] ^ mask);
            loaded += LoadAndDraw(damaged);
        }
    // Damage in the scan data leaves the header readable.
    EXPECT_GT(loaded, 0);
}

INSTANTIATE_TEST_SUITE_P(Encodings, JpegDamageTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "progressive" : "baseline");
                         });

} // namespace
