#include "platform/formfile/form_reader.h"
#include "platform/ui/application.h"
#include "platform/ui/register_ui_classes.h"
#include "platform/ui/speed_button.h"
#include "tests/platform/ui/speed_button/test_panel.h"

#include <QApplication>
#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QColor kGlyphBack(192, 192, 192); // the glyph's bottom-left colour: transparent
const QColor kRed(255, 0, 0);

// A 46 x 32 glyph like the login window's: light grey with a red block at
// 2..43 x 2..29.
QImage LoginGlyph() {
    QImage image(46, 32, QImage::Format_RGB32);
    image.fill(kGlyphBack);
    QPainter(&image).fillRect(2, 2, 42, 28, kRed);
    return image;
}

QByteArray BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// Hex lines for a "bytes" value of a form description.
QString HexLines(const QByteArray& bytes, const QString& indent) {
    QString out;
    const QByteArray hex = bytes.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 64)
        out += indent + QString::fromLatin1(hex.mid(i, 64)) + "\n";
    return out;
}

// The bounds of the pixels of exactly `color`; empty when there are none.
QRect Bounds(const QImage& image, const QColor& color) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color.rgb())
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

class SpeedButtonTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterUiClasses();
        RegisterSpeedButtonClass();
        RegisterAbstractClass<TTestPanel>("TTestPanel", "TControl");
    }

    // SpeedButton1 of the login window, read from a description.
    TSpeedButton* ReadLoginButton(const QString& extra = {}) {
        const QString text = "TTestPanel Panel1\n"
                             "  TSpeedButton SpeedButton1\n"
                             "    Left = 33\n"
                             "    Top = 1\n"
                             "    Width = 65\n"
                             "    Height = 50\n"
                             "    Caption = \"F5: Exportar\"\n"
                             "    Flat = True\n"
                             "    Layout = blGlyphTop\n"
                             "    Font.Name = \"Arial Narrow\"\n"
                             "    Font.Size = 8\n"
                             "    OnClick = SpeedButton1Click\n" +
                             extra + "    Glyph = bytes\n" +
                             HexLines(BmpBytes(LoginGlyph()), "      ");
        THandlerTable handlers;
        handlers.Add<TNotifyEvent>("SpeedButton1Click", [this](TObject* sender) {
            ++clicks_;
            EXPECT_EQ(sender, panel_->FindComponent(u"SpeedButton1"));
        });
        ReadComponentText(*panel_, handlers, text, "login.form");
        return ComponentAs<TSpeedButton>(panel_->FindComponent(u"SpeedButton1"));
    }

    void ShowPanel() {
        panel_->Widget()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_->Widget()));
    }

    void TearDown() override { Application->OnException = nullptr; }

    std::unique_ptr<TTestPanel> panel_ = std::make_unique<TTestPanel>();
    int clicks_ = 0;
};

TEST_F(SpeedButtonTest, TheFormDescriptionGivesCaptionGlyphLayoutAndHandler) {
    TSpeedButton* button = ReadLoginButton("    Enabled = False\n");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), "F5: Exportar");
    EXPECT_TRUE(button->Flat());
    EXPECT_EQ(button->Layout(), TButtonLayout::blGlyphTop);
    EXPECT_EQ(button->Glyph().size(), QSize(46, 32));
    EXPECT_EQ(button->Glyph().pixel(2, 2), kRed.rgb());
    EXPECT_FALSE(button->Enabled());
    EXPECT_EQ(button->Parent(), panel_.get());
    EXPECT_EQ(button->Widget()->geometry(), QRect(33, 1, 65, 50));
    EXPECT_EQ(button->Widget()->focusPolicy(), Qt::NoFocus);
}

TEST_F(SpeedButtonTest, ABadGlyphOrLayoutIsReportedWithItsLine) {
    const struct {
        const char* property;
        const char* value;
    } cases[] = {
        {"Glyph", "bytes\n      89504E47\n"}, // not a BMP
        {"Layout", "blGlyphMiddle\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.property);
        TTestPanel root;
        const QString text = QStringLiteral("TTestPanel P\n  TSpeedButton B\n    Caption = \"x\"\n"
                                            "    %1 = %2")
                                 .arg(c.property, c.value);
        try {
            ReadComponentText(root, {}, text, "bad.form");
            ADD_FAILURE() << "no error";
        } catch (const EFormError& e) {
            EXPECT_EQ(e.Line(), 4);
            EXPECT_TRUE(e.Message().contains(c.property)) << e.Message().toStdString();
        }
    }
}

// Within a quarter of the range of the caption's colour on every channel.
bool InkOf(const QColor& pixel, const QColor& text) {
    return std::abs(pixel.red() - text.red()) < 64 && std::abs(pixel.green() - text.green()) < 64 &&
           std::abs(pixel.blue() - text.blue()) < 64;
}

TEST_F(SpeedButtonTest, TheGlyphSitsCentredOverTheCaptionWithItsBackgroundLeftOut) {
    TSpeedButton* button = ReadLoginButton();
    const QImage image = panel_->Render();
    // Across: (65 - 46 + 1) div 2; along: (50 - (32 + 4 + text height)) div 2.
    const int textHeight = button->TextSize().height();
    const QPoint glyph(33 + 10, 1 + (50 - (32 + 4 + textHeight)) / 2);
    EXPECT_EQ(Bounds(image, kRed), QRect(glyph + QPoint(2, 2), QSize(42, 28)));
    EXPECT_EQ(image.pixel(glyph), TTestPanel::Color().rgb());
    EXPECT_TRUE(Bounds(image, kGlyphBack).isEmpty());
    // The caption is drawn below the glyph, in the font's colour.
    const QRect caption = button->CalcPlacement(QSize(46, 32)).textRect.translated(33, 1);
    EXPECT_GE(caption.top(), glyph.y() + 32 + 4);
    // Anti-aliased glyphs of a narrow face may have no pixel of exactly that colour: look for ink.
    const QImage text = image.copy(caption);
    const QColor textColour = button->Widget()->palette().color(QPalette::WindowText);
    bool ink = false;
    for (int y = 0; y < text.height() && !ink; ++y)
        for (int x = 0; x < text.width() && !ink; ++x)
            ink = InkOf(QColor(text.pixel(x, y)), textColour);
    EXPECT_TRUE(ink);
}

TEST_F(SpeedButtonTest, WhilePressedGlyphAndCaptionShiftOnePixelRightAndDown) {
    TSpeedButton* button = ReadLoginButton();
    ShowPanel();
    const QRect up = Bounds(panel_->Render(), kRed);
    const QRect upText = button->CalcPlacement(button->GlyphSize()).textRect;
    QTest::mousePress(button->Widget(), Qt::LeftButton, {}, QPoint(30, 25));
    EXPECT_EQ(button->State(), TButtonState::bsDown);
    EXPECT_EQ(Bounds(panel_->Render(), kRed), up.translated(1, 1));
    EXPECT_EQ(button->CalcPlacement(button->GlyphSize()).textRect, upText.translated(1, 1));
    QTest::mouseRelease(button->Widget(), Qt::LeftButton, {}, QPoint(30, 25));
    EXPECT_EQ(Bounds(panel_->Render(), kRed), up);
    EXPECT_EQ(clicks_, 1);
}

TEST_F(SpeedButtonTest, DisabledTheGlyphShapeIsEtchedInShadowAndHighlight) {
    TSpeedButton* button = ReadLoginButton("    Enabled = False\n");
    const QPalette& palette = button->Widget()->palette();
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor light = palette.color(QPalette::Light);
    const QPoint glyph = button->CalcPlacement(QSize(46, 32)).glyphPos + QPoint(33, 1);
    const QImage area = panel_->Render().copy(QRect(glyph, QSize(47, 33)));
    EXPECT_TRUE(Bounds(area, kRed).isEmpty());
    EXPECT_EQ(Bounds(area, shadow), QRect(2, 2, 42, 28));
    // The highlight shows where the shadow, one pixel up and left, leaves it.
    EXPECT_EQ(area.pixel(44, 30), light.rgb());
    EXPECT_EQ(area.pixel(44, 3), light.rgb());
    EXPECT_EQ(area.pixel(3, 30), light.rgb());
    EXPECT_EQ(area.pixel(1, 1), TTestPanel::Color().rgb());
}

TEST_F(SpeedButtonTest, ClicksReachOnClickOnlyWhenReleasedOverAnEnabledButton) {
    TSpeedButton* button = ReadLoginButton();
    ShowPanel();
    QWidget* widget = button->Widget();
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks_, 1);
    QTest::mouseClick(widget, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks_, 1);
    // Pressed, dragged off and released outside: no click, and the button is up again.
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(widget, QPoint(100, 5));
    EXPECT_EQ(button->State(), TButtonState::bsUp);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(100, 5));
    EXPECT_EQ(clicks_, 1);
    button->SetEnabled(false);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(button->State(), TButtonState::bsDisabled);
}

TEST_F(SpeedButtonTest, AnExceptionInOnClickGoesToTheApplicationHook) {
    TSpeedButton* button = ReadLoginButton();
    ShowPanel();
    button->OnClick = [](TObject*) { throw Exception("Conexion rechazada"); };
    QString seen;
    TObject* sender = nullptr;
    Application->OnException = [&](TObject* s, const Exception& e) {
        sender = s;
        seen = e.Message();
    };
    QTest::mouseClick(button->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(seen, "Conexion rechazada");
    EXPECT_EQ(sender, button);
}

TEST_F(SpeedButtonTest, GroupedButtonsStayDownOneAtATime) {
    TSpeedButton first(panel_.get());
    TSpeedButton second(panel_.get());
    first.SetParent(panel_.get());
    second.SetParent(panel_.get());
    second.SetLeft(30);
    ShowPanel();

    first.SetDown(true); // no group: Down does not stick
    EXPECT_FALSE(first.Down());

    first.SetGroupIndex(1);
    second.SetGroupIndex(1);
    QTest::mouseClick(first.Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(first.Down());
    EXPECT_EQ(first.State(), TButtonState::bsExclusive);
    QTest::mouseClick(second.Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(second.Down());
    EXPECT_FALSE(first.Down());
    // A click on the down button raises it only when all may be up.
    QTest::mouseClick(second.Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(second.Down());
    second.SetAllowAllUp(true);
    QTest::mouseClick(second.Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(second.Down());
}

TEST_F(SpeedButtonTest, TheFlatFrameShowsOnlyWhilePressedDownOrHot) {
    TSpeedButton button(panel_.get());
    button.SetParent(panel_.get());
    button.SetBounds(0, 0, 40, 30);
    button.SetFlat(true);
    const QPalette& palette = button.Widget()->palette();
    auto pixel = [&](int x, int y) { return panel_->Render().pixel(x, y); };
    EXPECT_EQ(pixel(0, 0), TTestPanel::Color().rgb());
    // Under the mouse: a raised frame.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(button.Widget(), &enter);
    EXPECT_EQ(pixel(0, 0), palette.color(QPalette::Light).rgb());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button.Widget(), &leave);
    EXPECT_EQ(pixel(0, 0), TTestPanel::Color().rgb());
    // Down: sunken.
    button.SetGroupIndex(1);
    button.SetDown(true);
    EXPECT_EQ(pixel(0, 0), palette.color(QPalette::Dark).rgb());
    // Not flat: always framed; not transparent: the face is filled.
    button.SetAllowAllUp(true);
    button.SetDown(false);
    button.SetFlat(false);
    EXPECT_NE(pixel(0, 0), TTestPanel::Color().rgb());
    button.SetFlat(true);
    button.SetTransparent(false);
    EXPECT_EQ(pixel(20, 15), palette.color(QPalette::Button).rgb());
}

} // namespace
