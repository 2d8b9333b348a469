#include "controls/timeedit/db_date_time_edit_eh.h"
#include "data/dataset/sql/sqlconnection.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/date_time_picker.h"
#include "platform/ui/edit.h"
#include "platform/ui/group_box.h"
#include "platform/ui/panel.h"
#include "platform/ui/speed_button.h"
#include "tests/forms/login_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <ostream>

namespace {

class LoginWindow : public LoginFixture {
protected:
    void SetUp() override {
        settings_.WriteServerList("srv1\r\nsrv2\r\n");
        Create();
    }
};

// Counts the pixels of a glyph in which one channel clearly leads.
int Dominant(const QImage& image, int channel) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int v[3] = {c.red(), c.green(), c.blue()};
            if (v[channel] > 2 * v[(channel + 1) % 3] && v[channel] > 2 * v[(channel + 2) % 3])
                ++count;
        }
    return count;
}

TEST_F(LoginWindow, TheDescriptionDocksThePartsAndPlacesTheStatusPanelOverTheFirstGroup) {
    EXPECT_EQ(w_->ClientWidth(), 347);
    EXPECT_EQ(w_->ClientHeight(), 323);
    EXPECT_EQ(w_->Panel2->Widget()->geometry(), QRect(0, 0, 347, 57));
    EXPECT_EQ(w_->GroupBox1->Widget()->geometry(), QRect(0, 57, 347, 105));
    EXPECT_EQ(w_->GroupBox2->Widget()->geometry(), QRect(0, 162, 347, 107));
    EXPECT_EQ(w_->Panel1->Widget()->geometry(), QRect(0, 269, 347, 54));
    EXPECT_EQ(w_->Panel5->Widget()->geometry(), QRect(8, 76, 337, 41));
    EXPECT_EQ(w_->Panel5->Widget()->parentWidget(), w_->Widget());
    const QObjectList& stack = w_->Widget()->children();
    EXPECT_GT(stack.indexOf(w_->Panel5->Widget()), stack.indexOf(w_->GroupBox1->Widget()));
    EXPECT_FALSE(w_->Panel5->Visible());
    EXPECT_EQ(w_->Panel5->BevelInner(), TPanelBevel::bvLowered);
    EXPECT_EQ(w_->GroupBox1->Caption(), "Base de datos:");
    EXPECT_EQ(w_->GroupBox2->Caption(), "Parámetros ");
}

TEST_F(LoginWindow, StartsNotConnectedWithTheServerListRead) {
    EXPECT_EQ(w_->Servidores(), (QStringList{"srv1", "srv2"}));
    EXPECT_EQ(w_->Servidor->Items(), (QStringList{"srv1", "srv2"}));
    EXPECT_EQ(w_->Servidor->Text(), "srv1");
    EXPECT_FALSE(w_->Servidor->Combo()->isEditable());
    EXPECT_FALSE(w_->SpeedButton1->Enabled());
    EXPECT_TRUE(w_->SpeedButton2->Enabled());
    EXPECT_FALSE(w_->EFecIni->Enabled());
    EXPECT_EQ(w_->EFecIni->Date().ToQDate(), QDate(2003, 1, 20));
    EXPECT_EQ(w_->EHora->Kind(), TDateTimeKindEh::dtkTimeEh);
    EXPECT_EQ(w_->EHora->Text(), "  :  :  ");
    EXPECT_EQ(w_->TClave->LineEdit()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(w_->Ubicacion->LineEdit()->isReadOnly());
    EXPECT_TRUE(w_->Ubicacion->Text().endsWith("/trevola/imgarti"));
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(LoginWindow, ThePasswordShowsAStarForEveryCharacter) {
    w_->TClave->SetText(QStringLiteral("clave ñ"));
    EXPECT_EQ(w_->TClave->LineEdit()->displayText(), "*******");
    EXPECT_EQ(w_->TClave->Text(), "clave ñ");
}

TEST_F(LoginWindow, TheGlyphsAreGreenArrowsAndARedCrossOnLightGrey) {
    for (TSpeedButton* button : {w_->SpeedButton1, w_->SpeedButton2}) {
        EXPECT_EQ(button->GlyphSize(), QSize(46, 32));
        EXPECT_EQ(button->Glyph().pixelColor(0, 31), QColor(212, 208, 200));
    }
    EXPECT_GT(Dominant(w_->SpeedButton1->Glyph(), 1), 100);
    EXPECT_EQ(Dominant(w_->SpeedButton1->Glyph(), 0), 0);
    EXPECT_GT(Dominant(w_->SpeedButton2->Glyph(), 0), 100);
    EXPECT_EQ(Dominant(w_->SpeedButton2->Glyph(), 1), 0);
}

TEST_F(LoginWindow, EnterMovesAlongTheTabOrderAndSkipsTheDisabledDatePicker) {
    ShowWindow();
    w_->Servidor->SetFocus();
    Key(Qt::Key_Return);
    EXPECT_TRUE(w_->Tusua->Focused());
    QTest::keyClicks(w_->Tusua->Widget(), "ab");
    EXPECT_EQ(w_->Tusua->Text(), "ab");
    Key(Qt::Key_Return);
    EXPECT_TRUE(w_->TClave->Focused());
    Key(Qt::Key_Return);
    EXPECT_TRUE(w_->Cia->Focused());
    QTest::keyClicks(w_->Cia->Widget(), "1");
    // The password is empty: leaving the company box does nothing at all.
    Key(Qt::Key_Return);
    EXPECT_TRUE(w_->Ubicacion->Focused());
    EXPECT_FALSE(w_->Panel5->Visible());
    EXPECT_EQ(fdmqb->Quelbo->ConnectionState(), csStateClosed);
    EXPECT_EQ(fdmqb->Quelbo->Params().Value("Database"),
              "catalogo.trevola.invalid/3050:C:\\TREVOLA\\QUELBO.FDB");
    EXPECT_FALSE(w_->SpeedButton1->Enabled());
    EXPECT_TRUE(boxes_.boxes.empty());
    // The texts typed stay; Enter left no character behind.
    EXPECT_EQ(w_->Tusua->Text(), "ab");
    EXPECT_EQ(w_->Cia->Text(), "1");
}

TEST_F(LoginWindow, EnterInTheDatePickerMovesOnToUbicacion) {
    ShowWindow();
    w_->EFecIni->SetEnabled(true);
    w_->EFecIni->SetFocus();
    Key(Qt::Key_Return);
    EXPECT_TRUE(w_->Ubicacion->Focused());
    EXPECT_EQ(w_->EFecIni->Date().ToQDate(), QDate(2003, 1, 20));
}

TEST_F(LoginWindow, TabLeavesTheDatePickerAtOnceInBothDirections) {
    ShowWindow();
    w_->EFecIni->SetEnabled(true);
    w_->EFecIni->SetFocus();
    Key(Qt::Key_Tab);
    EXPECT_TRUE(w_->Ubicacion->Focused());
    w_->EFecIni->SetFocus();
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(w_->EFecIni->Focused());
    EXPECT_EQ(w_->EFecIni->Date().ToQDate(), QDate(2003, 1, 20));
}

TEST_F(LoginWindow, F5BeforeConnectingDoesNothingAndReachesTheFocusedControl) {
    ShowWindow();
    int seen = 0;
    w_->Tusua->OnKeyDown = [&](TObject*, unsigned short& key, TShiftState) {
        if (key == 116)
            ++seen;
    };
    w_->Tusua->SetFocus();
    Key(Qt::Key_F5);
    EXPECT_TRUE(modals_.shown.empty());
    EXPECT_EQ(factarticulos, nullptr);
    EXPECT_TRUE(w_->Widget()->isVisible());
    EXPECT_EQ(seen, 1);
}

struct ModifiedKey {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    // The case's name in test listings.
    friend void PrintTo(const ModifiedKey& c, std::ostream* os) { *os << c.name; }
};

class LoginWindowModifiedKey : public LoginWindow,
                               public testing::WithParamInterface<ModifiedKey> {};

TEST_P(LoginWindowModifiedKey, DoesNothing) {
    ShowWindow();
    w_->SpeedButton1->SetEnabled(true); // as after a connection
    w_->Tusua->SetFocus();
    Key(GetParam().key, GetParam().modifiers);
    EXPECT_TRUE(modals_.shown.empty());
    EXPECT_EQ(factarticulos, nullptr);
    EXPECT_TRUE(w_->Widget()->isVisible());
    EXPECT_EQ(Application->MainForm(), w_);
}

INSTANTIATE_TEST_SUITE_P(Keys, LoginWindowModifiedKey,
                         testing::Values(ModifiedKey{"ShiftF5", Qt::Key_F5, Qt::ShiftModifier},
                                         ModifiedKey{"CtrlF5", Qt::Key_F5, Qt::ControlModifier},
                                         ModifiedKey{"AltF5", Qt::Key_F5, Qt::AltModifier},
                                         ModifiedKey{"ShiftEsc", Qt::Key_Escape, Qt::ShiftModifier},
                                         ModifiedKey{"CtrlEsc", Qt::Key_Escape,
                                                     Qt::ControlModifier},
                                         ModifiedKey{"AltEsc", Qt::Key_Escape, Qt::AltModifier}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoginWindow, F5ShowsAFreshResultsWindowModallyThenClosesTheLoginWindow) {
    ShowWindow();
    w_->SpeedButton1->SetEnabled(true);
    w_->Tusua->SetFocus();
    TForm* seen = nullptr;
    bool modal = false;
    modals_.answer = [&](TForm& form) {
        seen = &form;
        modal = QApplication::activeModalWidget() == form.Widget();
        form.Close();
    };
    Key(Qt::Key_F5);
    ASSERT_EQ(modals_.shown, std::vector<QString>{"Tfactarticulos"});
    EXPECT_EQ(seen, factarticulos);
    EXPECT_TRUE(modal);
    EXPECT_EQ(seen->Caption(), "Productos actualizados");
    EXPECT_EQ(seen->Owner(), w_);
    EXPECT_FALSE(w_->Widget()->isVisible());
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(LoginWindow, EscClosesTheWindowAndSoEndsTheProgram) {
    ShowWindow();
    w_->Cia->SetFocus();
    Key(Qt::Key_Escape);
    EXPECT_FALSE(w_->Widget()->isVisible());
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_TRUE(Application->Terminated());
}

} // namespace
