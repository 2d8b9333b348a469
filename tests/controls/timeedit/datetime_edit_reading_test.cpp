#include "controls/timeedit/datetime_edit_reading.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

TDateTimeLayoutEh LayoutOf(const char* pattern) {
    return BuildDateTimeMask(QString::fromLatin1(pattern)).layout;
}

TDateTime At(int year, int month, int day, int hour, int minute, int second, int msec = 0) {
    return EncodeDateTime(year, month, day, hour, minute, second, msec);
}

struct StrictCase {
    const char* text;
    bool reads;
    int hour, minute, second; // -1: Null
};

void PrintTo(const StrictCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class StrictTimeReading : public testing::TestWithParam<StrictCase> {};

TEST_P(StrictTimeReading, ReadsOnlyCompleteValidTimesAtTheirPositions) {
    const StrictCase& c = GetParam();
    const auto read = ReadDateTimeStrict(QString::fromLatin1(c.text), LayoutOf("HH:NN:SS"), {});
    ASSERT_EQ(read.has_value(), c.reads) << c.text;
    if (!c.reads)
        return;
    if (c.hour < 0) {
        EXPECT_FALSE(read->has_value());
        return;
    }
    ASSERT_TRUE(read->has_value());
    EXPECT_EQ(**read, At(1900, 1, 1, c.hour, c.minute, c.second));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StrictTimeReading,
    testing::Values(StrictCase{"09:05:00", true, 9, 5, 0}, StrictCase{" 9:05:00", true, 9, 5, 0},
                    StrictCase{"09:05:00 p.m.", true, 9, 5, 0},
                    StrictCase{"23:59:59", true, 23, 59, 59},
                    // Separators are not looked at, blanks inside a piece are dropped,
                    // a text without any digit is an empty box.
                    StrictCase{"09.05-00", true, 9, 5, 0}, StrictCase{"1 : 2: 3", true, 1, 2, 3},
                    StrictCase{"", true, -1, 0, 0}, StrictCase{"  :  :  ", true, -1, 0, 0},
                    StrictCase{"        ", true, -1, 0, 0}, StrictCase{"9:05:00", false, 0, 0, 0},
                    StrictCase{"09:05:0", true, 9, 5, 0}, StrictCase{"09:05", false, 0, 0, 0},
                    StrictCase{"24:00:00", false, 0, 0, 0}, StrictCase{"12:60:00", false, 0, 0, 0},
                    StrictCase{"12:00:60", false, 0, 0, 0}, StrictCase{"12:  :  ", false, 0, 0, 0},
                    StrictCase{"ab:cd:ef", true, -1, 0, 0},
                    StrictCase{"+1:00:00", false, 0, 0, 0}));

TEST(StrictReading, TakesTheDateAndMillisecondsFromTheValueBeingEdited) {
    const auto read = ReadDateTimeStrict(QStringLiteral("10:20:30"), LayoutOf("HH:NN:SS"),
                                         At(2020, 4, 23, 1, 2, 3, 456));
    ASSERT_TRUE(read && *read);
    EXPECT_EQ(**read, At(2020, 4, 23, 10, 20, 30, 456));
}

TEST(StrictReading, DatesMustExistAndAbsentTimeElementsComeFromTheValue) {
    const TDateTimeLayoutEh layout = LayoutOf("DD/MM/YYYY");
    EXPECT_FALSE(ReadDateTimeStrict(QStringLiteral("29/02/2023"), layout, {}));
    EXPECT_FALSE(ReadDateTimeStrict(QStringLiteral("01/13/2023"), layout, {}));
    EXPECT_FALSE(ReadDateTimeStrict(QStringLiteral("01/01/0000"), layout, {}));
    EXPECT_FALSE(ReadDateTimeStrict(QStringLiteral("  /01/2023"), layout, {}));
    const auto read =
        ReadDateTimeStrict(QStringLiteral("29/02/2024"), layout, At(2001, 1, 1, 7, 8, 9));
    ASSERT_TRUE(read && *read);
    EXPECT_EQ(**read, At(2024, 2, 29, 7, 8, 9));
}

TEST(StrictReading, ABaseDayTheNewMonthLacksBecomesItsLastDay) {
    const auto read = ReadDateTimeStrict(QStringLiteral("02/2023"), LayoutOf("MM/YYYY"),
                                         At(2023, 1, 31, 0, 0, 0));
    ASSERT_TRUE(read && *read);
    EXPECT_EQ(**read, At(2023, 2, 28, 0, 0, 0));
}

struct LenientCase {
    const char* text;
    int hour, minute, second; // -1: Null
};

void PrintTo(const LenientCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class LenientTimeReading : public testing::TestWithParam<LenientCase> {};

TEST_P(LenientTimeReading, ClampsAndFillsWhatIsMissing) {
    const LenientCase& c = GetParam();
    const TNullableDateTime read =
        ReadDateTimeLenient(QString::fromLatin1(c.text), LayoutOf("HH:NN:SS"), {});
    if (c.hour < 0) {
        EXPECT_FALSE(read.has_value());
        return;
    }
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, At(1900, 1, 1, c.hour, c.minute, c.second));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LenientTimeReading,
    testing::Values(LenientCase{"25:61:  ", 23, 59, 0}, LenientCase{"12:  :  ", 12, 0, 0},
                    LenientCase{"  :  :  ", -1, 0, 0}, LenientCase{"  :30:  ", 0, 30, 0},
                    LenientCase{"99:99:99", 23, 59, 59}, LenientCase{"1x:05:06", 0, 5, 6},
                    LenientCase{"09:05", 9, 5, 0}));

TEST(LenientReading, MissingDateElementsComeFromTodayAndAreClamped) {
    TFixedClock clock(At(2021, 6, 15, 10, 0, 0));
    const TDateTimeLayoutEh layout = LayoutOf("DD/MM/YYYY");
    EXPECT_EQ(ReadDateTimeLenient(QStringLiteral("  /02/    "), layout, {}),
              At(2021, 2, 15, 0, 0, 0));
    EXPECT_EQ(ReadDateTimeLenient(QStringLiteral("31/02/2024"), layout, {}),
              At(2024, 2, 29, 0, 0, 0));
    EXPECT_EQ(ReadDateTimeLenient(QStringLiteral("00/13/0000"), layout, {}), At(1, 12, 1, 0, 0, 0));
}

TEST(LenientReading, ADateClampedToTheFirstDayKeepsTheTimeBeingEdited) {
    // The box shows the result at once: it must be a value the date system decodes.
    const auto read = ReadDateTimeLenient(QStringLiteral("00/00/00"), LayoutOf("DD/MM/YY"),
                                          At(2024, 5, 6, 12, 5, 4));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->ToQDateTime(), QDateTime(QDate(1, 1, 1), QTime(12, 5, 4)));
}

TEST(MergeForPost, KeepsThePartsThePatternDoesNotHoldFromThePreviousValue) {
    const TDateTimeLayoutEh layout = LayoutOf("HH:NN:SS");
    EXPECT_EQ(MergeDateTimeForPost(At(2024, 5, 6, 9, 5, 0, 999), {}, layout),
              At(1900, 1, 1, 9, 5, 0));
    EXPECT_EQ(MergeDateTimeForPost(At(2024, 5, 6, 9, 5, 0), At(2003, 1, 20, 1, 1, 1, 250), layout),
              At(2003, 1, 20, 9, 5, 0, 250));
    EXPECT_FALSE(MergeDateTimeForPost({}, At(2003, 1, 20, 1, 1, 1), layout).has_value());
}

} // namespace
