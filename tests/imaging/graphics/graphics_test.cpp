// The Windows graphics a picture holds: bitmap, icon and placeable metafile
// load their own format, refuse anything else, save the bytes they were
// loaded from and draw themselves.

#include "imaging/graphics/bitmap.h"
#include "imaging/graphics/icon.h"
#include "imaging/graphics/metafile.h"
#include "tests/imaging/support/test_images.h"

#include <QMimeData>
#include <QPainter>
#include <gtest/gtest.h>
#include <ostream>

namespace {

// ---- Bitmap --------------------------------------------------------------------------

TEST(Bitmap, LoadsABmpFileAndSavesItsBytes) {
    const QByteArray bmp = BmpFile(Solid(7, 5, qRgb(200, 10, 30)));
    TBitmap bitmap;
    bitmap.LoadFromBytes(bmp);
    EXPECT_EQ(bitmap.Width(), 7);
    EXPECT_EQ(bitmap.Height(), 5);
    EXPECT_EQ(bitmap.Image().pixel(3, 2), qRgb(200, 10, 30));
    EXPECT_EQ(bitmap.SaveToBytes(), bmp);
}

TEST(Bitmap, AMadeBitmapSavesAsABmpFile) {
    const TBitmap made(Solid(4, 3, qRgb(1, 2, 3)));
    TBitmap again;
    again.LoadFromBytes(made.SaveToBytes());
    EXPECT_EQ(again.Image().convertToFormat(QImage::Format_RGB32),
              made.Image().convertToFormat(QImage::Format_RGB32));
    EXPECT_THROW(TBitmap().SaveToBytes(), EInvalidGraphic);
}

TEST(Bitmap, RefusesWhatIsNoBmpFile) {
    const QByteArray bmp = BmpFile(Solid(8, 8, qRgb(0, 0, 255)));
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("BM"), QByteArray("BM") + QByteArray(60, '\x7F'), bmp.mid(2),
          PngFile(Solid(8, 8, qRgb(0, 0, 255)))}) {
        TBitmap bitmap;
        try {
            bitmap.LoadFromBytes(bytes);
            ADD_FAILURE() << "loaded " << bytes.left(8).toHex().toStdString();
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Bitmap image is not valid"));
        }
        EXPECT_TRUE(bitmap.Empty());
    }
}

// ---- Icon ----------------------------------------------------------------------------

TEST(Icon, LoadsAnIconResourceAndSavesItsBytes) {
    const QByteArray ico = IcoFile(Solid(16, 16, qRgb(0, 128, 0)));
    TIcon icon;
    icon.LoadFromBytes(ico);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    EXPECT_EQ(icon.SaveToBytes(), ico);
    // On the clipboard an icon is a bitmap of its size.
    EXPECT_EQ(icon.ToImage().size(), QSize(16, 16));
}

TEST(Icon, RefusesABrokenDirectory) {
    const QByteArray ico = IcoFile(Solid(16, 16, qRgb(0, 128, 0)));
    const auto with = [&](int at, char value) {
        QByteArray bytes = ico;
        bytes[at] = value;
        return bytes;
    };
    for (const QByteArray& bytes :
         {with(0, 1) /* reserved */, with(2, 2) /* a cursor */, with(4, 0) /* no images */,
          with(19, '\x7F') /* far offset */, ico.left(5), ico.left(ico.size() - 1)}) {
        TIcon icon;
        EXPECT_THROW(icon.LoadFromBytes(bytes), EInvalidGraphic);
        EXPECT_TRUE(icon.Empty());
    }
}

// ---- Metafile ------------------------------------------------------------------------

struct MetafileCase {
    const char* name;
    MetafileHeader header;
    bool valid;
    int width = 0, height = 0;
};

void PrintTo(const MetafileCase& c, std::ostream* os) {
    *os << c.name;
}

class MetafileTest : public testing::TestWithParam<MetafileCase> {};

TEST_P(MetafileTest, TakesItsSizeFromThePlaceableHeader) {
    const MetafileCase& c = GetParam();
    const QByteArray bytes = PlaceableMetafile(c.header);
    TMetafile metafile;
    if (!c.valid) {
        try {
            metafile.LoadFromBytes(bytes);
            FAIL() << "loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Metafile is not valid"));
        }
        EXPECT_TRUE(metafile.Empty());
        return;
    }
    metafile.LoadFromBytes(bytes);
    EXPECT_EQ(metafile.Width(), c.width);
    EXPECT_EQ(metafile.Height(), c.height);
    EXPECT_EQ(metafile.SaveToBytes(), bytes);
}

MetafileHeader Header(int16_t left, int16_t top, int16_t right, int16_t bottom, uint16_t inch) {
    MetafileHeader h;
    h.left = left;
    h.top = top;
    h.right = right;
    h.bottom = bottom;
    h.inch = inch;
    return h;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, MetafileTest,
    testing::Values(MetafileCase{"inch_1440", {}, true, 96, 48},
                    MetafileCase{"offset_box", Header(100, -200, 676, 376, 576), true, 96, 96},
                    MetafileCase{"rounded", Header(0, 0, 1000, 1, 1440), true, 67, 0},
                    MetafileCase{"negative_box", Header(1440, 0, 0, 720, 1440), true, -96, 48},
                    MetafileCase{"wrong_key", MetafileHeader{.key = 0x9AC6CDD8}, false},
                    MetafileCase{"wrong_checksum", MetafileHeader{.checksumDelta = 1}, false},
                    MetafileCase{"no_units", Header(0, 0, 10, 10, 0), false},
                    MetafileCase{"wrong_type", MetafileHeader{.type = 3}, false},
                    MetafileCase{"wrong_header_size", MetafileHeader{.headerWords = 8}, false}),
    [](const testing::TestParamInfo<MetafileCase>& info) { return std::string(info.param.name); });

TEST(Metafile, RefusesACutHeaderAndDrawsAFrame) {
    const QByteArray bytes = PlaceableMetafile();
    for (qsizetype n = 0; n < 40; ++n)
        EXPECT_THROW(TMetafile().LoadFromBytes(QByteArrayView(bytes).first(n)), EInvalidGraphic)
            << n;

    TMetafile metafile;
    metafile.LoadFromBytes(bytes);
    QImage canvas(20, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        metafile.Draw(painter, canvas.rect());
    }
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(19, 9), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(10, 5), qRgb(255, 255, 255));

    // The clipboard gets the metafile's own bytes besides the image.
    QMimeData data;
    metafile.SaveToClipboard(data);
    EXPECT_EQ(data.data(QString::fromLatin1(TMetafile::kMimeType)), bytes);
}

} // namespace
