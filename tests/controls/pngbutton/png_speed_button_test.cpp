#include "controls/pngbutton/png_image_list.h"
#include "controls/pngbutton/png_speed_button.h"
#include "controls/pngbutton/register_png_speed_button.h"
#include "imaging/png/png_qimage.h"
#include "platform/formfile/form_reader.h"
#include "platform/ui/action.h"
#include "platform/ui/image_list.h"
#include "platform/ui/register_ui_classes.h"
#include "tests/controls/pngbutton/test_pngs.h"
#include "tests/platform/ui/speed_button/test_panel.h"
#include "tests/support/raised.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString HexLines(const QByteArray& bytes) {
    QString out;
    const QByteArray hex = bytes.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 64)
        out += "      " + QString::fromLatin1(hex.mid(i, 64)) + "\n";
    return out;
}

// The results window's "Salir" button, as its description gives it.
QString SalirDescription(const QString& extra = {}) {
    return "TTestPanel Panel1\n"
           "  TPngSpeedButton PngSpeedButton1\n"
           "    Left = 10\n"
           "    Top = 2\n"
           "    Width = 57\n"
           "    Height = 33\n"
           "    Caption = \"Salir\"\n"
           "    Flat = True\n"
           "    Layout = blGlyphRight\n"
           "    OnClick = PngSpeedButton1Click\n" +
           extra + "    PngImage = bytes\n" + HexLines(SalirGlyphBytes());
}

class PngSpeedButtonTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterUiClasses();
        RegisterPngSpeedButtonClass();
        RegisterAbstractClass<TTestPanel>("TTestPanel", "TControl");
    }

    TPngSpeedButton* ReadSalir(const QString& extra = {}) {
        THandlerTable handlers;
        handlers.Add<TNotifyEvent>("PngSpeedButton1Click", [this](TObject*) { ++clicks_; });
        ReadComponentText(*panel_, handlers, SalirDescription(extra), "actarticulos.form");
        return ComponentAs<TPngSpeedButton>(panel_->FindComponent(u"PngSpeedButton1"));
    }

    std::unique_ptr<TTestPanel> panel_ = std::make_unique<TTestPanel>();
    int clicks_ = 0;
};

TEST_F(PngSpeedButtonTest, TheFormDescriptionGivesTheGlyphAndAPlaceholderOfItsSize) {
    TPngSpeedButton* button = ReadSalir();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), "Salir");
    EXPECT_EQ(button->Layout(), TButtonLayout::blGlyphRight);
    EXPECT_EQ(button->PngImage().Width(), 16u);
    EXPECT_EQ(button->PngImage().ColorType(), TPngColorType::TruecolorAlpha);
    EXPECT_EQ(button->PngOptions(), TPngOptions{pngBlendOnDisabled});
    EXPECT_FALSE(button->PngImageFromAction());
    // The base class gets a glyph of the PNG's size in one colour, which it
    // takes as transparent: it reserves the room and draws nothing.
    const QImage& placeholder = button->Glyph();
    ASSERT_EQ(placeholder.size(), QSize(16, 16));
    EXPECT_EQ(button->NumGlyphs(), 1);
    const QRgb corner = placeholder.pixel(0, 15);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(placeholder.pixel(x, y), corner);

    button->SetPngImage(nullptr);
    EXPECT_TRUE(button->PngImage().Empty());
    EXPECT_TRUE(button->Glyph().isNull());
}

TEST_F(PngSpeedButtonTest, OptionsAndBadGlyphsInTheFormDescription) {
    EXPECT_EQ(
        ReadSalir("    PngOptions = [pngGrayscaleOnDisabled, pngBlendOnDisabled]\n")->PngOptions(),
        TPngOptions{pngBlendOnDisabled | pngGrayscaleOnDisabled});

    QByteArray corrupt = SalirGlyphBytes();
    const qsizetype inIdat = corrupt.size() - 20; // before the IDAT CRC and IEND
    corrupt[inIdat] = static_cast<char>(corrupt[inIdat] ^ 0x55);
    const struct {
        const char* name;
        QString text;
        int line;
    } cases[] = {
        {"unknown option",
         "TTestPanel P\n  TPngSpeedButton B\n    PngOptions = [pngSepiaOnDisabled]\n", 3},
        {"not a PNG", "TTestPanel P\n  TPngSpeedButton B\n    PngImage = bytes\n      424D0000\n",
         3},
        {"CRC mismatch",
         "TTestPanel P\n  TPngSpeedButton B\n    PngImage = bytes\n" + HexLines(corrupt), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTestPanel root;
        const auto e = Raised<EFormError>([&] { ReadComponentText(root, {}, c.text, "bad.form"); });
        EXPECT_EQ(e.Line(), c.line);
        EXPECT_TRUE(e.Message().contains("B.Png")) << e.Message().toStdString();
    }
}

TEST_F(PngSpeedButtonTest, MouseClicksReachOnClickUnlessTheButtonIsDisabled) {
    TPngSpeedButton* button = ReadSalir();
    panel_->Widget()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_->Widget()));
    QTest::mouseClick(button->Widget(), Qt::LeftButton, {}, QPoint(40, 16));
    EXPECT_EQ(clicks_, 1);
    button->SetEnabled(false);
    QTest::mouseClick(button->Widget(), Qt::LeftButton, {}, QPoint(40, 16));
    EXPECT_EQ(clicks_, 1);
    button->SetEnabled(true);
    QTest::mouseClick(button->Widget(), Qt::LeftButton, {}, QPoint(40, 16));
    EXPECT_EQ(clicks_, 2);
}

// gAMA 1.0 darkens mid tones a lot, so its effect on the pixels shows.
TEST_F(PngSpeedButtonTest, AssigningDropsGammaOfColourImagesOnlyAndKeepsTheSource) {
    const struct {
        const char* name;
        TTestImage image;
        bool dropped;
    } cases[] = {
        {"grey", Row(0, {60, 200}), false},
        {"truecolour", Row(2, {60, 90, 120, 200, 30, 10}), true},
        {"indexed", Row(3, {0, 1}, {60, 90, 120, 200, 30, 10}), true},
        {"grey with alpha", Row(4, {60, 255, 200, 128}), false},
        {"truecolour with alpha", Row(6, {60, 90, 120, 255, 200, 30, 10, 128}), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TPNGObject plain = DecodePng(c.image);
        TTestImage withGamma = c.image;
        withGamma.gamma = 100000;
        const TPNGObject source = DecodePng(withGamma);
        ASSERT_NE(source.Pixels(), plain.Pixels());

        TPngSpeedButton button(nullptr);
        button.SetPngImage(&source);
        EXPECT_EQ(button.PngImage().FindChunk("gAMA") == nullptr, c.dropped);
        EXPECT_EQ(button.PngImage().Pixels(), c.dropped ? plain.Pixels() : source.Pixels());
        EXPECT_NE(source.FindChunk("gAMA"), nullptr);
    }
}

TEST_F(PngSpeedButtonTest, ALinkedActionGivesItsImageUnlessTheButtonHasItsOwn) {
    TComponent owner;
    auto* pngList = new TPngImageList(&owner);
    const TPNGObject first = RgbaRow({255, 0, 0, 255, 0, 0, 255, 100});
    const TPNGObject second = RgbaRow({0, 255, 0, 255});
    pngList->AddPng(first);
    pngList->AddPng(second);
    auto* action = new TAction(&owner);
    action->SetImages(pngList);
    action->SetImageIndex(0);

    auto* button = new TPngSpeedButton(&owner);
    button->SetAction(action);
    EXPECT_TRUE(button->PngImageFromAction());
    EXPECT_EQ(button->PngImage().Pixels(), first.Pixels());
    EXPECT_EQ(button->Glyph().size(), QSize(2, 1));
    // The action's image follows the action while it came from there.
    action->SetImageIndex(1);
    EXPECT_EQ(button->PngImage().Pixels(), second.Pixels());
    action->SetImageIndex(7); // no such image: the glyph stays
    EXPECT_EQ(button->PngImage().Pixels(), second.Pixels());

    // A PNG of its own clears the flag and wins over the action.
    button->SetPngImage(&first);
    EXPECT_FALSE(button->PngImageFromAction());
    action->SetImageIndex(1);
    EXPECT_EQ(button->PngImage().Pixels(), first.Pixels());

    // A click runs the action while OnClick is not assigned.
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    button->Click();
    EXPECT_EQ(executed, 1);

    delete action;
    EXPECT_EQ(button->Action(), nullptr);
    delete pngList;
}

TEST_F(PngSpeedButtonTest, AnIconOfAPlainImageListBecomesTruecolourWithItsMaskAsAlpha) {
    TComponent owner;
    auto* images = new TImageList(&owner);
    QImage color(2, 1, QImage::Format_RGB32);
    color.setPixel(0, 0, qRgb(10, 20, 30));
    color.setPixel(1, 0, qRgb(40, 50, 60));
    QImage mask(2, 1, QImage::Format_RGB32);
    mask.setPixel(0, 0, qRgb(0, 0, 0));       // opaque
    mask.setPixel(1, 0, qRgb(255, 255, 255)); // transparent
    images->Add(color, mask);
    auto* action = new TAction(&owner);
    action->SetImageIndex(0);
    auto* button = new TPngSpeedButton(&owner);
    button->SetAction(action);
    EXPECT_TRUE(button->PngImage().Empty()); // no image list yet
    action->SetImages(images);
    ASSERT_TRUE(button->PngImageFromAction());
    EXPECT_EQ(button->PngImage().ColorType(), TPngColorType::TruecolorAlpha);
    EXPECT_EQ(button->PngImage().Pixels(), (std::vector<uint8_t>{10, 20, 30, 255, 40, 50, 60, 0}));
    // The image list may go first: the action lets go of it.
    delete images;
    EXPECT_EQ(action->Images(), nullptr);
    delete button;
}

} // namespace
