// Painting the image control: where a picture goes in the client area, the
// label of a control without a loaded picture, and decoding on first draw.

#include "controls/dbimage/picture_layout.h"
#include "dbimage_fixture.h"
#include "imaging/jpeg/jpeg_image.h"
#include "tests/imaging/support/test_images.h"
#include "tests/imaging/support/test_jpeg_writer.h"

#include <QPainter>
#include <ostream>

namespace {

struct LayoutCase {
    const char* name;
    QSize client, picture;
    bool shrink, zoom, center;
    QRect expected;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class PictureLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(PictureLayoutTest, PlacesThePicture) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(PictureRect(c.client, c.picture, c.shrink, c.zoom, c.center), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PictureLayoutTest,
    testing::Values(
        LayoutCase{"natural_top_left", {101, 101}, {40, 30}, false, false, false, {0, 0, 40, 30}},
        LayoutCase{"natural_centred", {101, 101}, {40, 30}, false, false, true, {30, 35, 40, 30}},
        // Halves truncate toward zero, also for a picture larger than the client.
        LayoutCase{
            "centred_larger", {101, 101}, {200, 150}, false, false, true, {-49, -24, 200, 150}},
        LayoutCase{"shrink_wide", {100, 100}, {200, 50}, true, false, true, {0, 37, 100, 25}},
        LayoutCase{"shrink_tall", {100, 80}, {30, 120}, true, false, true, {40, 0, 20, 80}},
        // Equal ratios take the height.
        LayoutCase{"shrink_same_ratio", {100, 50}, {200, 100}, true, false, true, {0, 0, 100, 50}},
        LayoutCase{
            "shrink_leaves_small_ones", {100, 100}, {40, 30}, true, false, true, {30, 35, 40, 30}},
        LayoutCase{"zoom_small", {100, 100}, {40, 30}, false, true, false, {0, 12, 100, 75}},
        LayoutCase{"zoom_truncates", {101, 101}, {3, 7}, false, true, false, {29, 0, 43, 101}},
        LayoutCase{
            "zoom_leaves_large_ones", {100, 100}, {400, 300}, false, true, false, {0, 0, 400, 300}},
        LayoutCase{"no_size_fills", {100, 90}, {0, 0}, false, true, false, {0, 0, 100, 90}},
        LayoutCase{
            "negative_size_fills", {100, 90}, {-96, 48}, false, true, true, {0, 0, 100, 90}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// ---- Painting the control ---------------------------------------------------------

class DbImagePaintTest : public DbImageTest {
protected:
    QImage Render() {
        QImage canvas(image_->Width(), image_->Height(), QImage::Format_RGB32);
        canvas.fill(Qt::black);
        QPainter painter(&canvas);
        image_->Paint(painter);
        return canvas;
    }
    static constexpr QRgb kRed = 0xFFFF0000;
    static constexpr QRgb kWhite = 0xFFFFFFFF;
};

TEST_F(DbImagePaintTest, DrawsThePictureCentredOrFitted) {
    Insert(1, BmpFile(Solid(10, 10, kRed)));
    ReadWindow(QStringLiteral("    BorderStyle = bsNone\n    Color = \"white\"\n"));
    cds_->Open();
    QImage shown = Render();
    EXPECT_EQ(shown.pixel(52, 52), kRed); // 10 x 10 at (47, 47)
    EXPECT_EQ(shown.pixel(46, 52), kWhite);
    EXPECT_EQ(shown.pixel(0, 0), kWhite);

    image_->SetZoomToFit(true);
    shown = Render();
    EXPECT_EQ(shown.pixel(0, 0), kRed);
    EXPECT_EQ(shown.pixel(104, 104), kRed);
}

TEST_F(DbImagePaintTest, ASingleBorderFramesTheClientArea) {
    Insert(1, BmpFile(Solid(10, 10, kRed)));
    ReadWindow(QStringLiteral("    ZoomToFit = True\n    Color = \"white\"\n"));
    cds_->Open();
    EXPECT_EQ(image_->ClientRect(), QRect(2, 2, 101, 101));
    const QImage shown = Render();
    EXPECT_NE(shown.pixel(0, 0), kRed);
    EXPECT_EQ(shown.pixel(2, 2), kRed);
    image_->SetCtl3D(false);
    EXPECT_EQ(image_->ClientRect(), QRect(1, 1, 103, 103));
}

TEST_F(DbImagePaintTest, WithoutALoadedPictureShowsTheFieldLabel) {
    Insert(1, BmpFile(Solid(10, 10, kRed)));
    ReadWindow(QStringLiteral("    AutoDisplay = False\n    BorderStyle = bsNone\n"
                              "    Color = \"white\"\n    Font.Name = \"DejaVu Sans\"\n"));
    cds_->Open();
    const QImage shown = Render();
    bool text = false;
    for (int x = 0; x < shown.width(); ++x)
        text = text || qGray(shown.pixel(x, 52)) < 128;
    EXPECT_TRUE(text) << "no label across the middle";
    EXPECT_NE(shown.pixel(52, 52), kRed);

    // A copy painted for another control loads the field for itself.
    QImage copy(105, 105, QImage::Format_RGB32);
    {
        QPainter painter(&copy);
        image_->PaintCopy(painter);
    }
    EXPECT_EQ(copy.pixel(52, 52), kRed);
    EXPECT_FALSE(image_->PictureLoaded());
    EXPECT_EQ(image_->Picture().Graphic(), nullptr);
}

TEST_F(DbImagePaintTest, AJpegDecodesWhenFirstDrawn) {
    Insert(1, WriteTestJpeg(Solid(20, 20, qRgb(0, 0, 255)), {.quality = 100}));
    ReadWindow(QStringLiteral("    BorderStyle = bsNone\n"));
    cds_->Open();
    const auto* jpeg = dynamic_cast<const TJPEGImage*>(image_->Picture().Graphic());
    ASSERT_NE(jpeg, nullptr);
    EXPECT_FALSE(jpeg->DecodeTried());
    const QRgb middle = Render().pixel(52, 52);
    EXPECT_TRUE(jpeg->DecodeTried());
    EXPECT_GT(qBlue(middle), 240);
    EXPECT_LT(qRed(middle), 16);
}

} // namespace
