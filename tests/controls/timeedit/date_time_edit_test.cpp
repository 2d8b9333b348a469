// The box's Text, Value, Kind and EditFormat, and what posting writes.

#include "time_edit_fixture.h"

namespace {

struct SetTextCase {
    const char* given;
    const char* shown;
};

void PrintTo(const SetTextCase& c, std::ostream* os) {
    *os << '"' << c.given << '"';
}

class SetTextReads : public TimeEditFixture, public testing::WithParamInterface<SetTextCase> {};

TEST_P(SetTextReads, ShowsTheDisplayFormatAfterwards) {
    const SetTextCase& c = GetParam();
    box_->SetText(QStringLiteral("11:22:33"));
    box_->SetText(QString::fromLatin1(c.given));
    EXPECT_EQ(box_->Text(), QString::fromLatin1(c.shown));
    EXPECT_FALSE(box_->Modified());
}

INSTANTIATE_TEST_SUITE_P(
    Strings, SetTextReads,
    testing::Values(SetTextCase{"09:05:00", "09:05:00"}, SetTextCase{" 9:05:00", "09:05:00"},
                    SetTextCase{"09:05:00 p.m.", "09:05:00"},
                    SetTextCase{"23:59:59:123456", "23:59:59"}, SetTextCase{"00.00.00", "00:00:00"},
                    SetTextCase{"", "  :  :  "}, SetTextCase{"        ", "  :  :  "},
                    // No digit at all reads as an empty box.
                    SetTextCase{"ab:cd:ef", "  :  :  "}));

class SetTextRefuses : public TimeEditFixture, public testing::WithParamInterface<const char*> {};

TEST_P(SetTextRefuses, RaisesTheInvalidDatetimeErrorAndKeepsTheBox) {
    const QString given = QString::fromLatin1(GetParam());
    box_->SetText(QStringLiteral("11:22:33"));
    try {
        box_->SetText(given);
        FAIL() << "no exception for " << GetParam();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid datetime: \"%1\"").arg(given));
    }
    EXPECT_EQ(box_->Text(), "11:22:33");
    EXPECT_EQ(box_->Value(), At(11, 22, 33));
    EXPECT_EQ(box_->ValueHolder().StoredValue(), At(11, 22, 33));
}

INSTANTIATE_TEST_SUITE_P(Strings, SetTextRefuses,
                         testing::Values("9:05:00", "09:05", "24:00:00", "12:60:00", "12:00:61",
                                         "12:  :  ", "12", "1x:05:00"));

TEST_F(TimeEditFixture, AnEmptyBoxReadsAsBlanksAndSeparatorsWithANullValue) {
    EXPECT_EQ(box_->Text(), "  :  :  ");
    box_->SetText(QStringLiteral("09:05:00"));
    box_->SetText(QString());
    EXPECT_EQ(box_->Text(), "  :  :  ");
    EXPECT_FALSE(box_->Value().has_value());
    EXPECT_FALSE(box_->ValueHolder().StoredValue().has_value());
}

TEST_F(TimeEditFixture, SettingTextPostsTheTimeAndKeepsTheStoredDate) {
    TDateTimeValueHolderEh holder;
    holder.SetStoredValue(EncodeDateTime(2003, 1, 20, 8, 0, 0, 250));
    box_->SetValueHolder(&holder);
    EXPECT_EQ(box_->Text(), "08:00:00");
    box_->SetText(QStringLiteral("09:05:07"));
    EXPECT_EQ(holder.StoredValue(), EncodeDateTime(2003, 1, 20, 9, 5, 7, 250));
    EXPECT_EQ(box_->Value(), holder.StoredValue());
    box_->SetValueHolder(nullptr);
}

TEST_F(TimeEditFixture, WritingValueRendersAndPostsOnlyTheTime) {
    box_->SetValue(EncodeDateTime(2020, 4, 23, 13, 14, 15, 600));
    EXPECT_EQ(box_->Text(), "13:14:15");
    EXPECT_EQ(box_->Value(), At(13, 14, 15));
    box_->SetValue(std::nullopt);
    EXPECT_EQ(box_->Text(), "  :  :  ");
    EXPECT_FALSE(box_->ValueHolder().StoredValue().has_value());
}

TEST_F(TimeEditFixture, AnUpdateDataHandlerMayTakeOverThePosting) {
    int calls = 0;
    box_->OnUpdateData = [&](TObject* sender, bool& handled) {
        EXPECT_EQ(sender, box_);
        ++calls;
        handled = true;
    };
    box_->SetText(QStringLiteral("09:05:00"));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(box_->ValueHolder().StoredValue().has_value());
    EXPECT_EQ(box_->Text(), "  :  :  ");
}

TEST_F(TimeEditFixture, OnChangeRunsForEveryChangeOfTheText) {
    std::vector<QString> seen;
    box_->OnChange = [&](TObject*) { seen.push_back(box_->Text()); };
    box_->SetText(QStringLiteral("09:05:00"));
    box_->SetText(QStringLiteral("09:05:00"));
    box_->SetText(QString());
    EXPECT_EQ(seen, (std::vector<QString>{"09:05:00", "  :  :  "}));
}

TEST_F(TimeEditFixture, TheKindsBuildTheirPatterns) {
    TDBDateTimeEditEh fresh(nullptr);
    EXPECT_EQ(fresh.Kind(), TDateTimeKindEh::dtkDateEh);
    // The C locale's short date is MM/dd/yyyy.
    EXPECT_EQ(fresh.EditFormat(), "MM/DD/YYYY");
    EXPECT_EQ(fresh.Text(), "  /  /    ");
    fresh.SetKind(TDateTimeKindEh::dtkDateTimeEh);
    EXPECT_EQ(fresh.Text(), "  /  /       :  :  ");
    fresh.SetText(QStringLiteral("02/29/2024 10:20:30"));
    EXPECT_EQ(fresh.Value(), EncodeDateTime(2024, 2, 29, 10, 20, 30, 0));

    EXPECT_EQ(box_->EditFormat(), "HH:NN:SS");
    EXPECT_EQ(box_->EditMask(), "!99:99:99;1; ");
    EXPECT_EQ(box_->DisplayFormat(), "HH:NN:SS");
}

TEST_F(TimeEditFixture, AssigningEditFormatMakesTheKindCustomAndABadOneChangesNothing) {
    box_->SetText(QStringLiteral("09:05:00"));
    box_->SetEditFormat(QStringLiteral("HH\\hNN"));
    EXPECT_EQ(box_->Kind(), TDateTimeKindEh::dtkCustomEh);
    EXPECT_EQ(box_->Text(), "09h05");
    box_->SetKind(TDateTimeKindEh::dtkTimeEh);
    EXPECT_EQ(box_->Text(), "09:05:00");

    EXPECT_THROW(box_->SetEditFormat(QStringLiteral("HH:N")), Exception);
    EXPECT_EQ(box_->Kind(), TDateTimeKindEh::dtkTimeEh);
    EXPECT_EQ(box_->EditFormat(), "HH:NN:SS");
    EXPECT_EQ(box_->Text(), "09:05:00");
}

TEST_F(TimeEditFixture, TheYearDigitsAreReadAgainWhenTheBoxIsEntered) {
    box_->SetKind(TDateTimeKindEh::dtkDateEh);
    EXPECT_EQ(box_->EditFormat(), "MM/DD/YYYY");
    FormatSettings().ShortDateFormat = QStringLiteral("M/d/yy");
    EXPECT_EQ(box_->EditFormat(), "MM/DD/YYYY");
    Enter();
    EXPECT_EQ(box_->EditFormat(), "MM/DD/YY");
}

TEST_F(TimeEditFixture, ALocaleWithAnotherTimeSeparatorShowsItEverywhere) {
    LoadFromLocale(QLocale(QLocale::Finnish, QLocale::Finland));
    const QChar separator = FormatSettings().TimeSeparator;
    ASSERT_NE(separator, u':');
    const auto shown = [separator](const char* text) {
        return QString::fromLatin1(text).replace(u':', separator);
    };
    box_->SetKind(TDateTimeKindEh::dtkDateEh);
    box_->SetKind(TDateTimeKindEh::dtkTimeEh);
    EXPECT_EQ(box_->Text(), shown("  :  :  "));
    box_->SetText(QStringLiteral("09:05:00"));
    EXPECT_EQ(box_->Text(), shown("09:05:00"));
    box_->SetText(box_->Text());
    EXPECT_EQ(box_->Value(), At(9, 5, 0));

    Enter();
    Keys("12");
    QTest::keyClick(Edit(), separator.toLatin1());
    Keys("3");
    EXPECT_EQ(box_->Text(), shown("12:3 :  "));
    // The caret on the separator steps the element to its right.
    box_->SetSelection(2, 0);
    QTest::keyClick(Edit(), Qt::Key_Up);
    EXPECT_EQ(box_->Text(), shown("12:04:  "));
    Leave();
    EXPECT_EQ(box_->Text(), shown("12:04:00"));
    EXPECT_EQ(box_->ValueHolder().StoredValue(), At(12, 4, 0));
}

TEST_F(TimeEditFixture, AFailingPostSelectsTheTextAndGivesTheFocusBack) {
    QString reported;
    Application->OnException = [&](TObject*, const Exception& e) { reported = e.Message(); };
    box_->OnUpdateData = [](TObject*, bool&) { throw Exception("refused"); };
    Enter();
    Keys("0905");
    Leave();
    EXPECT_EQ(reported, "refused");
    QTest::qWait(10);
    EXPECT_TRUE(box_->Focused());
    EXPECT_EQ(box_->SelLength(), 8);
    EXPECT_EQ(box_->Text(), "09:05:00");
}

} // namespace
