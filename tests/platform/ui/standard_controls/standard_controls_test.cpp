#include "platform/formfile/form_reader.h"
#include "platform/system/datetime.h"
#include "platform/ui/date_time_picker.h"
#include "platform/ui/db_navigator.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/panel.h"
#include "platform/ui/register_ui_classes.h"
#include "tests/support/raised.h"

#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The controls read from a description, as a window reads them.
class StandardControls : public testing::Test {
protected:
    void SetUp() override {
        RegisterUiClasses();
        form_ = std::make_unique<TForm>(nullptr);
    }
    void Read(const QString& body) {
        ReadComponentText(*form_, THandlerTable(), QStringLiteral("TForm f\n") + body,
                          QStringLiteral("test.form"));
    }
    template <typename T> T& Get(const char* name) {
        return *FindRequired<T>(*form_, QString::fromLatin1(name));
    }
    std::unique_ptr<TForm> form_;
};

// Pixels compared as the 8-bit colours an image holds.
QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y);
}

QImage Render(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget->render(&image);
    return image;
}

TEST_F(StandardControls, APanelDrawsARaisedOuterAndALoweredInnerBevel) {
    Read("  TPanel P\n    Left = 8\n    Top = 76\n    Width = 60\n    Height = 30\n"
         "    BevelInner = bvLowered\n    Caption = \"X\"\n    Font.Color = \"navy\"\n");
    TPanel& panel = Get<TPanel>("P");
    const QPalette& palette = panel.Widget()->palette();
    const QRgb light = palette.color(QPalette::Light).rgb();
    const QRgb dark = palette.color(QPalette::Dark).rgb();
    const QImage image = Render(panel.Widget());
    EXPECT_EQ(At(image, 0, 0), light);
    EXPECT_EQ(At(image, 59, 29), dark);
    EXPECT_EQ(At(image, 1, 1), dark);
    EXPECT_EQ(At(image, 58, 28), light);
    EXPECT_EQ(At(image, 30, 2), palette.color(QPalette::Window).rgb());
    EXPECT_EQ(panel.ClientRect(), QRect(2, 2, 56, 26));
    // The caption, centred, in the font's colour.
    int navy = 0;
    for (int y = 2; y < 28; ++y)
        for (int x = 20; x < 40; ++x)
            navy += qRed(At(image, x, y)) < 60 && qGreen(At(image, x, y)) < 60 &&
                    qBlue(At(image, x, y)) > 90;
    EXPECT_GT(navy, 3);
}

TEST_F(StandardControls, APanelWithoutBevelsIsPlain) {
    Read("  TPanel P\n    Width = 20\n    Height = 10\n    BevelOuter = bvNone\n");
    TPanel& panel = Get<TPanel>("P");
    const QImage image = Render(panel.Widget());
    EXPECT_EQ(At(image, 0, 0), panel.Widget()->palette().color(QPalette::Window).rgb());
    EXPECT_EQ(panel.ClientRect(), QRect(0, 0, 20, 10));
}

TEST_F(StandardControls, ALabelSizesItselfUnlessTold) {
    Read("  TLabel A\n    Caption = \"Servidor : \"\n"
         "  TLabel B\n    Width = 60\n    WordWrap = True\n"
         "    Caption = \"una frase con bastantes palabras para partirla\"\n"
         "  TLabel C\n    Width = 333\n    Height = 49\n    AutoSize = False\n"
         "    WordWrap = True\n    Caption = \"corta\"\n");
    const QFontMetrics metrics(Get<TLabel>("A").Label()->font());
    EXPECT_EQ(Get<TLabel>("A").Width(), metrics.horizontalAdvance("Servidor : "));
    EXPECT_EQ(Get<TLabel>("A").Height(), metrics.height());
    EXPECT_EQ(Get<TLabel>("B").Width(), 60);
    EXPECT_GE(Get<TLabel>("B").Height(), 3 * metrics.height());
    EXPECT_EQ(Get<TLabel>("C").Width(), 333);
    EXPECT_EQ(Get<TLabel>("C").Height(), 49);
    EXPECT_EQ(Get<TLabel>("A").Widget()->focusPolicy(), Qt::NoFocus);
}

TEST_F(StandardControls, ADatePickerKeepsItsOwnTimeOfDay) {
    Read("  TDateTimePicker D\n    Date = 37641\n    Time = 0.75\n");
    TDateTimePicker& picker = Get<TDateTimePicker>("D");
    EXPECT_EQ(picker.DateTime(), TDateTime(37641.75));
    EXPECT_EQ(picker.DateEdit()->date(), QDate(2003, 1, 20));

    picker.SetDate(TDateTime(0.5)); // the zero date, with a time of its own
    EXPECT_EQ(picker.DateTime(), TDateTime(0.75));
    EXPECT_EQ(picker.DateEdit()->date(), QDate(1899, 12, 30));

    int changes = 0;
    picker.OnChange = [&](TObject*) { ++changes; };
    picker.DateEdit()->setDate(QDate(2020, 4, 23)); // as the user or the calendar would
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picker.Date().ToQDate(), QDate(2020, 4, 23));
    EXPECT_EQ(picker.Time(), TDateTime(0.75));
    picker.SetDate(EncodeDate(2021, 5, 6));
    EXPECT_EQ(changes, 1); // setting it from code is no change by the user
}

TEST_F(StandardControls, ADatePickerIsOneTabStopAndCanBeDisabled) {
    Read("  TDateTimePicker D\n    Enabled = False\n");
    TDateTimePicker& picker = Get<TDateTimePicker>("D");
    EXPECT_FALSE(picker.DateEdit()->isEnabled());
    EXPECT_EQ(picker.DateEdit()->focusPolicy(), Qt::StrongFocus);
    for (QWidget* child : picker.DateEdit()->findChildren<QWidget*>())
        EXPECT_FALSE(child->focusPolicy() & Qt::TabFocus) << child->metaObject()->className();
}

TEST_F(StandardControls, ANavigatorLinkedToNothingSharesItsWidthAndNeverEnablesAButton) {
    Read("  TDBNavigator N\n    Width = 102\n    Height = 18\n    Flat = True\n"
         "    VisibleButtons = [nbFirst, nbPrior, nbNext, nbLast]\n"
         "  TDBNavigator M\n    Width = 101\n    VisibleButtons = [nbNext, nbPrior]\n");
    TDBNavigator& n = Get<TDBNavigator>("N");
    EXPECT_TRUE(n.Flat());
    // The two pixels left over go to the first buttons.
    EXPECT_EQ(n.ButtonRect(nbFirst), QRect(0, 0, 26, 18));
    EXPECT_EQ(n.ButtonRect(nbPrior), QRect(26, 0, 26, 18));
    EXPECT_EQ(n.ButtonRect(nbNext), QRect(52, 0, 25, 18));
    EXPECT_EQ(n.ButtonRect(nbLast), QRect(77, 0, 25, 18));
    TDBNavigator& m = Get<TDBNavigator>("M");
    EXPECT_EQ(m.ButtonRect(nbFirst), QRect());
    EXPECT_EQ(m.ButtonRect(nbPrior), QRect(0, 0, 51, 25));
    EXPECT_EQ(m.ButtonRect(nbNext), QRect(51, 0, 50, 25));

    // Every glyph is drawn, and only in the engraved colours of a disabled button.
    const QPalette& palette = n.Widget()->palette();
    const QImage image = Render(n.Widget());
    for (TNavigateBtn b : {nbFirst, nbPrior, nbNext, nbLast}) {
        int shape = 0;
        const QRect r = n.ButtonRect(b);
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb p = At(image, x, y);
                shape += p == palette.color(QPalette::Dark).rgb();
                EXPECT_TRUE(p == palette.color(QPalette::Dark).rgb() ||
                            p == palette.color(QPalette::Light).rgb() ||
                            p == palette.color(QPalette::Button).rgb())
                    << b << " at " << x << "," << y;
            }
        EXPECT_GE(shape, 12) << b;
    }
    // A click reaches nothing.
    QTest::mouseClick(n.Widget(), Qt::LeftButton, {}, n.ButtonRect(nbNext).center());
}

TEST_F(StandardControls, ANavigatorKnowsOnlyItsFourMoves) {
    EXPECT_EQ(Raised<Exception>([&] {
                  Read("  TDBNavigator N\n    VisibleButtons = [nbFirst, nbInsert]\n");
              }).Message(),
              "test.form:3: N.VisibleButtons: Invalid property value nbInsert");
}

} // namespace
