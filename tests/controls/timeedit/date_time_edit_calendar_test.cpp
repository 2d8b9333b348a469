// The month calendar drop-down: opening, accepting and cancelling.

#include "controls/timeedit/popup_month_calendar_eh.h"
#include "time_edit_fixture.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QTableView>

namespace {

class CalendarTest : public TimeEditFixture {
protected:
    void SetUp() override {
        TimeEditFixture::SetUp();
        box_->OnDropDown = [this](TObject*) { events_.push_back("drop-down"); };
        box_->OnCloseUp = [this](TObject*, bool accept) {
            events_.push_back(accept ? "close-up accepted" : "close-up cancelled");
        };
    }
    void Open() {
        QTest::keyClick(Edit(), Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(box_->DroppedDown());
        ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    }
    QCalendarWidget* Calendar() const { return box_->PopupCalendar()->Calendar(); }
    // A key as the user types it: to the popup's focused part.
    static void PopupKey(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        QTest::keyClick(popup->focusWidget() ? popup->focusWidget() : popup, key, mods);
    }

    std::vector<std::string> events_;
    TFixedClock clock_{EncodeDateTime(2024, 5, 6, 14, 0, 0, 0)};
};

struct AcceptCase {
    const char* text;
    const char* shown;
};

void PrintTo(const AcceptCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class CalendarAccept : public CalendarTest, public testing::WithParamInterface<AcceptCase> {};

TEST_P(CalendarAccept, KeepsTheTimeAndFillsAnEmptyBoxWithMidnight) {
    const AcceptCase& c = GetParam();
    box_->SetText(QString::fromLatin1(c.text));
    Enter();
    Open();
    PopupKey(Qt::Key_Right);
    PopupKey(Qt::Key_Return);
    EXPECT_FALSE(box_->DroppedDown());
    EXPECT_EQ(box_->Text(), QString::fromLatin1(c.shown));
    EXPECT_EQ(events_, (std::vector<std::string>{"drop-down", "close-up accepted"}));
    EXPECT_TRUE(box_->Focused());
    Leave();
    EXPECT_EQ(box_->Text(), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Boxes, CalendarAccept,
                         testing::Values(AcceptCase{"", "00:00:00"},
                                         AcceptCase{"09:05:00", "09:05:00"}));

TEST_F(CalendarTest, ShowsTheDateBeingEditedOrToday) {
    Enter();
    Open();
    EXPECT_EQ(Calendar()->selectedDate(), QDate(2024, 5, 6));
    PopupKey(Qt::Key_Escape);
    box_->SetText(QStringLiteral("09:05:00"));
    Open();
    // The stored time of an unbound time box lies on 1 January 1900.
    EXPECT_EQ(Calendar()->selectedDate(), QDate(1900, 1, 1));
}

TEST_F(CalendarTest, EscAndAltDownCloseItWithoutAChange) {
    box_->SetText(QStringLiteral("09:05:00"));
    Enter();
    Open();
    PopupKey(Qt::Key_Escape);
    EXPECT_FALSE(box_->DroppedDown());
    Open();
    PopupKey(Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(box_->DroppedDown());
    EXPECT_EQ(box_->Text(), "09:05:00");
    EXPECT_FALSE(box_->Modified());
    EXPECT_EQ(events_, (std::vector<std::string>{"drop-down", "close-up cancelled", "drop-down",
                                                 "close-up cancelled"}));
    EXPECT_TRUE(box_->Focused());
}

TEST_F(CalendarTest, TheButtonOpensItAndAClickOnADayAccepts) {
    int downs = 0;
    box_->OnButtonDown = [&](TObject*, bool, bool&, bool&) { ++downs; };
    Enter();
    EXPECT_EQ(box_->EditButton().Style(), TEditButtonStyleEh::ebsDropDownEh);
    QWidget* button = nullptr;
    for (QWidget* child : Edit()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible() && child->geometry().right() >= Edit()->width() - 4)
            button = child;
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(downs, 1);
    ASSERT_TRUE(box_->DroppedDown());

    auto* view = Calendar()->findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    const QRect cell = view->visualRect(view->model()->index(3, 3));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(box_->DroppedDown());
    EXPECT_EQ(box_->Text(), "00:00:00");
    EXPECT_EQ(events_, (std::vector<std::string>{"drop-down", "close-up accepted"}));
}

TEST_F(CalendarTest, AButtonDownHandlerThatHandlesThePressKeepsItClosed) {
    box_->OnButtonDown = [](TObject*, bool, bool&, bool& handled) { handled = true; };
    Enter();
    QTest::keyClick(Edit(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(box_->DroppedDown());
    EXPECT_TRUE(events_.empty());
}

TEST_F(CalendarTest, ClosingFromCodeReportsTheChoice) {
    box_->SetText(QStringLiteral("09:05:00"));
    box_->DropDown();
    ASSERT_TRUE(box_->DroppedDown());
    box_->CloseUp(true);
    EXPECT_FALSE(box_->DroppedDown());
    EXPECT_EQ(box_->Text(), "09:05:00");
    EXPECT_EQ(events_, (std::vector<std::string>{"drop-down", "close-up accepted"}));
}

} // namespace
