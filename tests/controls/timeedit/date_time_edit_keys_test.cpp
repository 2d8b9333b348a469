// The box driven by real key, mouse and wheel events.

#include "time_edit_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QWheelEvent>

namespace {

struct TypingCase {
    const char* keys;
    const char* typed; // the text before leaving the box
    const char* left;  // the text after leaving it
    int beeps;
};

void PrintTo(const TypingCase& c, std::ostream* os) {
    *os << "keys \"" << c.keys << '"';
}

class Typing : public TimeEditFixture, public testing::WithParamInterface<TypingCase> {};

TEST_P(Typing, DigitsOverwriteAndLeavingReadsLeniently) {
    const TypingCase& c = GetParam();
    box_->SetText(QStringLiteral("11:22:33"));
    Enter();
    Keys(c.keys);
    EXPECT_EQ(box_->Text(), QString::fromLatin1(c.typed));
    EXPECT_EQ(answerer_.beeps, c.beeps);
    Leave();
    EXPECT_EQ(box_->Text(), QString::fromLatin1(c.left));
    EXPECT_FALSE(box_->Modified());
}

INSTANTIATE_TEST_SUITE_P(Keys, Typing,
                         testing::Values(TypingCase{"25:61", "25:61:  ", "23:59:00", 0},
                                         TypingCase{"2561", "25:61:  ", "23:59:00", 0},
                                         TypingCase{"12", "12:  :  ", "12:00:00", 0},
                                         TypingCase{"090507", "09:05:07", "09:05:07", 0},
                                         // The separator jumps to the next element from the hour
                                         // and the minute; in the seconds it is refused.
                                         TypingCase{"1:2:3", "1 :2 :3 ", "01:02:03", 0},
                                         TypingCase{"123:4", "12:3 :4 ", "12:03:04", 0},
                                         TypingCase{"123456:", "12:34:56", "12:34:56", 1},
                                         TypingCase{"1234567", "12:34:56", "12:34:56", 1},
                                         TypingCase{"a", "11:22:33", "11:22:33", 1},
                                         TypingCase{"1a/ -", "1 :  :  ", "01:00:00", 4},
                                         TypingCase{"::5", "11:22:53", "11:22:53", 0}));

TEST_F(TimeEditFixture, EveryChangeByTheUserIsReadStrictly) {
    std::vector<bool> nullAtChange;
    box_->OnChange = [&](TObject*) { nullAtChange.push_back(!box_->Value().has_value()); };
    Enter();
    Keys("0905");
    EXPECT_FALSE(box_->Value().has_value());
    // Blanks inside an element are dropped: "0 " reads as 0.
    Keys("0");
    EXPECT_EQ(box_->Value(), At(9, 5, 0));
    Keys("7");
    EXPECT_EQ(box_->Value(), At(9, 5, 7));
    EXPECT_EQ(nullAtChange, (std::vector<bool>{true, true, true, true, false, false}));
    // A change that makes the text unreadable leaves the value Null again.
    box_->SetSelection(3, 2);
    QTest::keyClick(Edit(), Qt::Key_Delete);
    EXPECT_EQ(box_->Text(), "09:  :07");
    EXPECT_FALSE(box_->Value().has_value());
    EXPECT_TRUE(box_->Modified());
}

TEST_F(TimeEditFixture, EnterReadsLenientlyWithoutLeaving) {
    Enter();
    Keys("25:61");
    QTest::keyClick(Edit(), Qt::Key_Return);
    EXPECT_EQ(box_->Text(), "23:59:00");
    EXPECT_EQ(box_->Value(), At(23, 59, 0));
    EXPECT_TRUE(box_->Focused());
    EXPECT_FALSE(box_->ValueHolder().StoredValue().has_value());
    Leave();
    EXPECT_EQ(box_->ValueHolder().StoredValue(), At(23, 59, 0));
}

TEST_F(TimeEditFixture, LeavingRunsOnExitBetweenTheReadingAndThePost) {
    QString textAtExit;
    bool storedAtExit = true;
    box_->OnExit = [&](TObject*) {
        textAtExit = box_->Text();
        storedAtExit = box_->ValueHolder().StoredValue().has_value();
    };
    Enter();
    Keys("12");
    Leave();
    EXPECT_EQ(textAtExit, "12:00:00");
    EXPECT_FALSE(storedAtExit);
    EXPECT_EQ(box_->ValueHolder().StoredValue(), At(12, 0, 0));
}

struct EraseCase {
    Qt::Key key;
    int selStart, selLength;
    const char* text;
    int caret;
};

void PrintTo(const EraseCase& c, std::ostream* os) {
    *os << QKeySequence(c.key).toString().toStdString() << " at " << c.selStart << "+"
        << c.selLength;
}

class Erasing : public TimeEditFixture, public testing::WithParamInterface<EraseCase> {};

TEST_P(Erasing, BackspaceAndDeleteBlankPositions) {
    const EraseCase& c = GetParam();
    box_->SetText(QStringLiteral("12:34:56"));
    Enter();
    box_->SetSelection(c.selStart, c.selLength);
    QTest::keyClick(Edit(), c.key);
    EXPECT_EQ(box_->Text(), QString::fromLatin1(c.text));
    EXPECT_EQ(box_->SelStart(), c.caret);
    EXPECT_EQ(box_->SelLength(), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, Erasing,
                         testing::Values(EraseCase{Qt::Key_Backspace, 3, 0, "1 :34:56", 1},
                                         EraseCase{Qt::Key_Backspace, 1, 0, " 2:34:56", 0},
                                         EraseCase{Qt::Key_Backspace, 0, 0, "12:34:56", 0},
                                         EraseCase{Qt::Key_Delete, 3, 0, "12: 4:56", 3},
                                         EraseCase{Qt::Key_Delete, 2, 0, "12: 4:56", 3},
                                         EraseCase{Qt::Key_Delete, 8, 0, "12:34:56", 8},
                                         EraseCase{Qt::Key_Backspace, 1, 4, "1 :  :56", 1},
                                         EraseCase{Qt::Key_Delete, 0, 8, "  :  :  ", 0}));

TEST_F(TimeEditFixture, EscRestoresTheStoredTextAndSelectsAll) {
    box_->SetText(QStringLiteral("12:34:56"));
    Enter();
    Keys("0");
    QTest::keyClick(Edit(), Qt::Key_Up);
    EXPECT_EQ(box_->Text(), "01:  :  ");
    QTest::keyClick(Edit(), Qt::Key_Escape);
    EXPECT_EQ(box_->Text(), "12:34:56");
    EXPECT_EQ(box_->Value(), At(12, 34, 56));
    EXPECT_EQ(box_->SelLength(), 8);
    EXPECT_FALSE(box_->Modified());
}

TEST_F(TimeEditFixture, EnteringSelectsAllExceptByALeftClick) {
    box_->SetText(QStringLiteral("12:34:56"));
    Enter();
    EXPECT_EQ(box_->SelLength(), 8);
    other_->SetFocus();
    QTest::mouseClick(Edit(), Qt::LeftButton, {}, QPoint(4, Edit()->height() / 2));
    ASSERT_TRUE(box_->Focused());
    EXPECT_EQ(box_->SelLength(), 0);
}

struct MoveCase {
    Qt::Key key;
    int selStart, selLength;
    int caret;
};

void PrintTo(const MoveCase& c, std::ostream* os) {
    *os << QKeySequence(c.key).toString().toStdString() << " at " << c.selStart << "+"
        << c.selLength;
}

class Moving : public TimeEditFixture, public testing::WithParamInterface<MoveCase> {};

TEST_P(Moving, LeftAndRightSkipTheSeparatorsAndLeaveASelectionAtItsEnds) {
    const MoveCase& c = GetParam();
    box_->SetText(QStringLiteral("12:34:56"));
    Enter();
    box_->SetSelection(c.selStart, c.selLength);
    QTest::keyClick(Edit(), c.key);
    EXPECT_EQ(box_->SelStart(), c.caret);
    EXPECT_EQ(box_->SelLength(), 0);
    EXPECT_EQ(box_->Text(), "12:34:56");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Moving,
    testing::Values(MoveCase{Qt::Key_Left, 3, 2, 1}, MoveCase{Qt::Key_Left, 3, 0, 1},
                    MoveCase{Qt::Key_Left, 0, 8, 0}, MoveCase{Qt::Key_Right, 0, 2, 3},
                    MoveCase{Qt::Key_Right, 1, 0, 3}, MoveCase{Qt::Key_Right, 3, 4, 7},
                    MoveCase{Qt::Key_Right, 0, 8, 8}));

struct StepKeyCase {
    const char* text;
    int caret;
    Qt::Key key;
    const char* stepped;
    int selStart;
};

void PrintTo(const StepKeyCase& c, std::ostream* os) {
    *os << QKeySequence(c.key).toString().toStdString() << " on \"" << c.text << "\" at "
        << c.caret;
}

class SteppingKeys : public TimeEditFixture, public testing::WithParamInterface<StepKeyCase> {};

TEST_P(SteppingKeys, UpAndDownStepTheElementAndLeaveItSelected) {
    const StepKeyCase& c = GetParam();
    box_->SetText(QString::fromLatin1(c.text));
    const TNullableDateTime before = box_->Value();
    Enter();
    box_->SetSelection(c.caret, 0);
    QTest::keyClick(Edit(), c.key);
    EXPECT_EQ(box_->Text(), QString::fromLatin1(c.stepped));
    EXPECT_EQ(box_->SelStart(), c.selStart);
    EXPECT_EQ(box_->SelLength(), 2);
    // The value catches up at the next lenient reading only.
    EXPECT_EQ(box_->Value(), before);
    EXPECT_TRUE(box_->Modified());
}

INSTANTIATE_TEST_SUITE_P(Keys, SteppingKeys,
                         testing::Values(StepKeyCase{"23:10:10", 0, Qt::Key_Up, "00:10:10", 0},
                                         StepKeyCase{"10:00:10", 4, Qt::Key_Down, "10:59:10", 3},
                                         StepKeyCase{"", 0, Qt::Key_Up, "01:  :  ", 0},
                                         StepKeyCase{"", 7, Qt::Key_Down, "  :  :59", 6},
                                         StepKeyCase{"10:20:30", 2, Qt::Key_Up, "10:21:30", 3},
                                         StepKeyCase{"10:20:30", 8, Qt::Key_Up, "10:20:31", 6}));

TEST_F(TimeEditFixture, SteppingNeedsNoModifiersAnEditableBoxAndAnUnclearedKey) {
    box_->SetText(QStringLiteral("10:20:30"));
    Enter();
    box_->SetSelection(0, 0);
    QTest::keyClick(Edit(), Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(Edit(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(box_->Text(), "10:20:30");

    int keyDowns = 0;
    box_->OnKeyDown = [&](TObject*, unsigned short& key, TShiftState) {
        ++keyDowns;
        if (key == 38)
            key = 0;
    };
    QTest::keyClick(Edit(), Qt::Key_Up);
    EXPECT_EQ(box_->Text(), "10:20:30");
    QTest::keyClick(Edit(), Qt::Key_Down);
    EXPECT_EQ(box_->Text(), "09:20:30");
    EXPECT_EQ(keyDowns, 2);

    box_->SetReadOnly(true);
    QTest::keyClick(Edit(), Qt::Key_Down);
    Keys("5");
    QTest::keyClick(Edit(), Qt::Key_Delete);
    EXPECT_EQ(box_->Text(), "09:20:30");
}

TEST_F(TimeEditFixture, TheWheelStepsUpAwayFromTheUserAndDownTowardsThem) {
    box_->SetText(QStringLiteral("10:20:30"));
    Enter();
    box_->SetSelection(3, 0);
    const auto turn = [&](int delta, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, Edit()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Edit(), &wheel);
    };
    turn(120);
    EXPECT_EQ(box_->Text(), "10:21:30");
    turn(-240);
    EXPECT_EQ(box_->Text(), "10:19:30");
    // Fine-grained wheels step once a notch has added up.
    turn(60);
    EXPECT_EQ(box_->Text(), "10:19:30");
    turn(60);
    EXPECT_EQ(box_->Text(), "10:20:30");
    turn(120, Qt::ControlModifier);
    EXPECT_EQ(box_->Text(), "10:20:30");
}

TEST_F(TimeEditFixture, TheWindowsKeyPreviewRunsFirstAndMaySwallowACharacter) {
    Enter();
    form_->SetKeyPreview(true);
    std::vector<QString> order;
    form_->OnKeyPress = [&](TObject*, QChar& key) {
        order.push_back(QStringLiteral("form ") + key);
        if (key == u'7')
            key = QChar();
    };
    box_->OnKeyPress = [&](TObject*, QChar& key) {
        order.push_back(QStringLiteral("box ") + key);
        if (key == u'8')
            key = u'3';
    };
    Keys("78");
    EXPECT_EQ(order, (std::vector<QString>{"form 7", "form 8", "box 8"}));
    EXPECT_EQ(box_->Text(), "3 :  :  ");
}

TEST_F(TimeEditFixture, PasteTypesTheClipboardThroughTheMask) {
    Enter();
    QGuiApplication::clipboard()->setText(QStringLiteral("0x9:05"));
    QTest::keyClick(Edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box_->Text(), "09:05:  ");
    EXPECT_EQ(answerer_.beeps, 0);
}

} // namespace
