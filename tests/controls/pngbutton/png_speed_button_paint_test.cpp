#include "controls/pngbutton/png_speed_button.h"
#include "imaging/png/png_qimage.h"
#include "tests/controls/pngbutton/test_pngs.h"
#include "tests/platform/ui/speed_button/test_panel.h"

#include <QFontMetrics>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The mixing rule, written out for the expected pixels.
int Mix(int alpha, int glyph, int background) {
    return (alpha * glyph + (255 - alpha) * background + 255) >> 8;
}

// What `png` over the panel colour must look like, pixel by pixel.
QImage ExpectedOverPanel(const QImage& rgba) {
    const QColor panel = TTestPanel::Color();
    QImage expected(rgba.size(), QImage::Format_RGB32);
    for (int y = 0; y < rgba.height(); ++y)
        for (int x = 0; x < rgba.width(); ++x) {
            const uint8_t* p = rgba.constScanLine(y) + x * 4;
            expected.setPixel(x, y,
                              qRgb(Mix(p[3], p[0], panel.red()), Mix(p[3], p[1], panel.green()),
                                   Mix(p[3], p[2], panel.blue())));
        }
    return expected;
}

class PngSpeedButtonPaintTest : public testing::Test {
protected:
    void SetUp() override {
        button_ = new TPngSpeedButton(panel_.get());
        button_->SetParent(panel_.get());
        button_->SetBounds(10, 2, 57, 33);
        button_->SetFlat(true);
    }

    void LoadSalir() {
        button_->SetPngImageData(SalirGlyphBytes());
        ASSERT_EQ(button_->PngImage().Width(), 16u);
    }

    // Three pixels of one colour with alpha 0, 128 and 255.
    void SetThreeAlphas() {
        const TPNGObject png = RgbaRow({225, 225, 10, 0, 225, 225, 10, 128, 225, 225, 10, 255});
        button_->SetPngImage(&png);
    }

    // The 16 x 16 area of the panel at a position on the button.
    QImage GlyphArea(QPoint onButton, QSize size = QSize(16, 16)) const {
        return panel_->Render()
            .copy(QRect(onButton + QPoint(10, 2), size))
            .convertToFormat(QImage::Format_RGB32);
    }

    std::unique_ptr<TTestPanel> panel_ = std::make_unique<TTestPanel>();
    TPngSpeedButton* button_ = nullptr;
};

TEST_F(PngSpeedButtonPaintTest, AlphaZeroShowsThePanelFullAlphaCoversItHalfMixesThem) {
    SetThreeAlphas();
    // Empty caption: centred, (57 - 3) div 2 across and (33 - 1 + 1) div 2 down.
    ASSERT_EQ(button_->PngGlyphPosition(), QPoint(27, 16));
    const QImage area = GlyphArea(QPoint(27, 16), QSize(3, 1));
    EXPECT_EQ(area.pixel(0, 0), TTestPanel::Color().rgb());
    EXPECT_EQ(area.pixel(1, 0), qRgb(113, 176, 69));
    EXPECT_EQ(area.pixel(2, 0), qRgb(225, 225, 10));
    // The same when the panel is grabbed into a pixmap.
    const QImage grabbed = panel_->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(grabbed.copy(10 + 27, 2 + 16, 3, 1), area);
    // And on screen, where the widget paints into the window's backing store.
    panel_->Widget()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_->Widget()));
    const QImage screen = panel_->Widget()
                              ->screen()
                              ->grabWindow(panel_->Widget()->winId())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(screen.copy(10 + 27, 2 + 16, 3, 1), area);
}

TEST_F(PngSpeedButtonPaintTest, DisabledWithTheDefaultOptionsTheGlyphIsHalfAsOpaque) {
    SetThreeAlphas();
    ASSERT_EQ(button_->PngOptions(), TPngOptions{pngBlendOnDisabled});
    button_->SetEnabled(false);
    const QImage area = GlyphArea(QPoint(27, 16), QSize(3, 1));
    EXPECT_EQ(area.pixel(0, 0), TTestPanel::Color().rgb());
    EXPECT_EQ(area.pixel(1, 0), qRgb(57, 152, 98));  // alpha 64
    EXPECT_EQ(area.pixel(2, 0), qRgb(113, 176, 69)); // alpha 128
    button_->SetEnabled(true);
    EXPECT_EQ(GlyphArea(QPoint(27, 16), QSize(3, 1)).pixel(2, 0), qRgb(225, 225, 10));
}

TEST_F(PngSpeedButtonPaintTest, SalirSitsRightOfItsCaptionWithItsTopAtRowNine) {
    button_->SetCaption("Salir");
    button_->SetLayout(TButtonLayout::blGlyphRight);
    button_->SetFontName("MS Sans Serif");
    button_->SetFontSize(8);
    LoadSalir();
    const int textWidth = QFontMetrics(button_->Widget()->font()).horizontalAdvance("Salir");
    const int margin = (57 - (16 + 4 + textWidth)) / 2;
    const QPoint at(57 - margin - 16, 9);
    EXPECT_EQ(button_->PngGlyphPosition(), at);
    EXPECT_EQ(GlyphArea(at), ExpectedOverPanel(PngToQImage(button_->PngImage())));
    // The caption is left of it, clear of the glyph by the spacing.
    const QRect text = button_->CalcPlacement(QSize(16, 16)).textRect;
    EXPECT_EQ(text.right() + 1 + 4, at.x());
}

TEST_F(PngSpeedButtonPaintTest, WhilePressedTheGlyphShiftsOnePixelRightAndDown) {
    LoadSalir();
    panel_->Widget()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_->Widget()));
    const QPoint up = button_->PngGlyphPosition();
    ASSERT_EQ(up, QPoint(20, 9));
    const QImage expected = ExpectedOverPanel(PngToQImage(button_->PngImage()));
    QTest::mousePress(button_->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button_->PngGlyphPosition(), QPoint(21, 10));
    EXPECT_EQ(GlyphArea(QPoint(21, 10)), expected);
    QTest::mouseRelease(button_->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(GlyphArea(up), expected);
    // Down (a grouped button) shifts it the same way.
    button_->SetGroupIndex(1);
    button_->SetDown(true);
    EXPECT_EQ(button_->PngGlyphPosition(), QPoint(21, 10));
}

// A 16 x 16 glyph on the 57 x 33 button without a caption.
TEST_F(PngSpeedButtonPaintTest, TheGlyphPositionFollowsLayoutMarginAndDirection) {
    LoadSalir();
    const struct {
        const char* name;
        TButtonLayout layout;
        int margin, spacing;
        bool rightToLeft;
        QPoint at;
    } cases[] = {
        {"left, centred", TButtonLayout::blGlyphLeft, -1, 4, false, {20, 9}},
        {"right, centred", TButtonLayout::blGlyphRight, -1, 4, false, {21, 9}},
        {"top, centred", TButtonLayout::blGlyphTop, -1, 4, false, {21, 8}},
        {"bottom, centred", TButtonLayout::blGlyphBottom, -1, 4, false, {21, 9}},
        {"automatic spacing", TButtonLayout::blGlyphLeft, -1, -1, false, {20, 9}},
        {"margin 2 right", TButtonLayout::blGlyphRight, 2, 4, false, {39, 9}},
        {"margin 2 bottom", TButtonLayout::blGlyphBottom, 2, 4, false, {21, 15}},
        {"right to left swaps left for right", TButtonLayout::blGlyphLeft, 2, 4, true, {39, 9}},
        {"... and right for left", TButtonLayout::blGlyphRight, 2, 4, true, {2, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        button_->SetLayout(c.layout);
        button_->SetMargin(c.margin);
        button_->SetSpacing(c.spacing);
        button_->Widget()->setLayoutDirection(c.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        EXPECT_EQ(button_->PngGlyphPosition(), c.at);
    }
}

TEST_F(PngSpeedButtonPaintTest, AutomaticSpacingSharesTheFreeWidthInThree) {
    button_->SetCaption("Salir");
    button_->SetLayout(TButtonLayout::blGlyphRight);
    button_->SetSpacing(-1);
    LoadSalir();
    const int textWidth = QFontMetrics(button_->Widget()->font()).horizontalAdvance("Salir");
    const int margin = (57 - 16 - textWidth) / 3;
    EXPECT_EQ(button_->PngGlyphPosition(), QPoint(57 - margin - 16, 9));
    EXPECT_EQ(button_->CalcPlacement(QSize(16, 16)).textRect.right() + 1 + margin,
              57 - margin - 16);
}

} // namespace
