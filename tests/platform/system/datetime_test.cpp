#include "platform/system/datetime.h"
#include "platform/system/format_settings.h"
#include "tests/support/raised.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>

namespace {} // namespace

void PrintTo(TDateTime value, std::ostream* os) {
    *os << value.Value();
}

namespace {

struct DateCase {
    int year, month, day;
    double value;
};

void PrintTo(const DateCase& c, std::ostream* os) {
    *os << c.year << '-' << c.month << '-' << c.day;
}

class EncodeDateTest : public testing::TestWithParam<DateCase> {};

TEST_P(EncodeDateTest, EncodesAndDecodesBack) {
    const DateCase& c = GetParam();
    EXPECT_EQ(EncodeDate(c.year, c.month, c.day).Value(), c.value);
    int y = 0, m = 0, d = 0;
    DecodeDate(TDateTime(c.value), y, m, d);
    EXPECT_EQ(y, c.year);
    EXPECT_EQ(m, c.month);
    EXPECT_EQ(d, c.day);
}

INSTANTIATE_TEST_SUITE_P(Days, EncodeDateTest,
                         testing::Values(DateCase{1899, 12, 30, 0}, DateCase{1899, 12, 31, 1},
                                         DateCase{1899, 12, 29, -1}, DateCase{1900, 1, 1, 2},
                                         DateCase{1900, 3, 1, 61}, DateCase{2000, 2, 29, 36585},
                                         DateCase{2020, 4, 23, 43944},
                                         DateCase{1, 1, 1, MinDateTime},
                                         DateCase{9999, 12, 31, 2958465}));

TEST(EncodeDate, RejectsDatesThatDoNotExist) {
    const int bad[][3] = {{2019, 2, 29}, {1900, 2, 29}, {2020, 4, 31}, {2020, 4, 0},
                          {2020, 13, 1}, {2020, 0, 1},  {0, 1, 1},     {10000, 1, 1}};
    for (const auto& d : bad) {
        SCOPED_TRACE(testing::Message() << d[0] << '-' << d[1] << '-' << d[2]);
        EXPECT_FALSE(TryEncodeDate(d[0], d[1], d[2]));
        EXPECT_EQ(Raised<EConvertError>([&] { EncodeDate(d[0], d[1], d[2]); }).Message(),
                  QStringLiteral("Invalid argument to date encode"));
    }
}

TEST(EncodeTime, EncodesTheFractionOfTheDay) {
    EXPECT_EQ(EncodeTime(0, 0, 0, 0).Value(), 0.0);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0).Value(), 0.25);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0).Value(), 0.5);
    int h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(EncodeTime(23, 59, 59, 999), h, m, s, ms);
    EXPECT_EQ((std::array{h, m, s, ms}), (std::array{23, 59, 59, 999}));
}

TEST(EncodeTime, RejectsOutOfRangeParts) {
    const int bad[][4] = {{24, 0, 0, 0},   {0, 60, 0, 0}, {0, 0, 60, 0},
                          {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, -1, 0}};
    for (const auto& t : bad) {
        EXPECT_FALSE(TryEncodeTime(t[0], t[1], t[2], t[3]));
        EXPECT_THROW(EncodeTime(t[0], t[1], t[2], t[3]), EConvertError);
    }
}

TEST(DateTime, NegativeValuesTakeTheFractionsAbsoluteValueAsTime) {
    const TDateTime value(-1.25);
    EXPECT_EQ(value.DatePart().Value(), -1.0);
    EXPECT_EQ(value.TimePart().Value(), 0.25);
    EXPECT_EQ(value.ToQDateTime(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0).Value(), -1.25);
    EXPECT_EQ(TDateTime::FromQDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))).Value(), -1.25);
    EXPECT_EQ(ComposeDateTime(TDateTime(-3.0), TDateTime(0.5)).Value(), -3.5);
    EXPECT_EQ(ComposeDateTime(TDateTime(3.9), TDateTime(-7.5)).Value(), 3.5);
}

TEST(DateTime, RoundsToTheMillisecondAndCarriesMidnightIntoTheNextDay) {
    const double almost = 0.4 / 86400000.0; // 0.4 ms
    EXPECT_EQ(TDateTime(1.0 - almost).ToQDateTime(), QDateTime(QDate(1899, 12, 31), QTime(0, 0)));
    EXPECT_EQ(TDateTime(-2.0 + almost).ToQDateTime(), QDateTime(QDate(1899, 12, 28), QTime(0, 0)));
    EXPECT_EQ(TDateTime(0.5 + almost).ToQTime(), QTime(12, 0));
    EXPECT_EQ(TDateTime(0.5 + 3 * almost).ToQTime(), QTime(12, 0, 0, 1));
}

TEST(DateTime, TheFirstDayHasItsTimesOfDay) {
    // Negative values count their time backwards: noon of the first day is
    // below MinDateTime, and must decode all the same.
    const TDateTime noon = EncodeDateTime(1, 1, 1, 12, 0, 0, 0);
    EXPECT_EQ(noon.Value(), MinDateTime - 0.5);
    EXPECT_EQ(noon.ToQDateTime(), QDateTime(QDate(1, 1, 1), QTime(12, 0)));
    EXPECT_EQ(EncodeDateTime(1, 1, 1, 23, 59, 59, 999).ToQDateTime(),
              QDateTime(QDate(1, 1, 1), QTime(23, 59, 59, 999)));
}

TEST(DateTime, DecodingOutsideTheDateSystemRaises) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(), MinDateTime - 1, MaxDateTime + 1,
                          1e300};
    for (double v : bad) {
        int y = 0, m = 0, d = 0;
        EXPECT_THROW(DecodeDate(TDateTime(v), y, m, d), EConvertError) << v;
        EXPECT_THROW(TDateTime(v).ToQTime(), EConvertError) << v;
    }
}

TEST(DateTime, ConvertsToAndFromQt) {
    const QDateTime moment(QDate(2020, 4, 23), QTime(14, 5, 9, 123));
    const TDateTime value = TDateTime::FromQDateTime(moment);
    EXPECT_EQ(value.DatePart(), EncodeDate(2020, 4, 23));
    EXPECT_EQ(value.ToQDateTime(), moment);
    EXPECT_EQ(value.ToQDate(), QDate(2020, 4, 23));
    EXPECT_EQ(TDateTime::FromQTime(QTime(6, 0)).Value(), 0.25);
    EXPECT_EQ(TDateTime::FromQDate(QDate(2020, 4, 23)).Value(), 43944.0);
    // Invalid Qt values read as the null date-time.
    EXPECT_EQ(TDateTime::FromQDate(QDate()).Value(), 0.0);
    EXPECT_EQ(TDateTime::FromQTime(QTime()).Value(), 0.0);
    EXPECT_EQ(TDateTime::FromQDateTime(QDateTime()).Value(), 0.0);
    EXPECT_THROW(TDateTime::FromQDate(QDate(10000, 1, 1)), EConvertError);
}

TEST(Clock, ReplacedClockFeedsNowDateAndTime) {
    const TDateTime moment = EncodeDateTime(2020, 4, 23, 14, 5, 9, 0);
    {
        TFixedClock fixed(moment);
        EXPECT_EQ(Now(), moment);
        EXPECT_EQ(Date(), EncodeDate(2020, 4, 23));
        EXPECT_EQ(Time().ToQTime(), QTime(14, 5, 9));
        EXPECT_LT(Time().Value(), 1.0);
        {
            TFixedClock inner(TDateTime(1.5));
            EXPECT_EQ(Now().Value(), 1.5);
        }
        EXPECT_EQ(Now(), moment);
    }
    // Back on the system clock.
    EXPECT_NE(Now(), moment);
    EXPECT_GT(Now(), EncodeDate(2024, 1, 1));
}

TFormatSettings Settings(QChar dateSeparator, QChar timeSeparator) {
    TFormatSettings s;
    s.DateSeparator = dateSeparator;
    s.TimeSeparator = timeSeparator;
    return s;
}

struct FormatCase {
    const char16_t* format;
    const char16_t* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << QString::fromUtf16(c.format).toStdString();
}

class FormatDateTimeTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatDateTimeTest, Formats) {
    const TDateTime value = EncodeDateTime(2020, 4, 3, 9, 5, 7, 0);
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatDateTime(QStringView(c.format), value, Settings(u'.', u'-')),
              QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Letters, FormatDateTimeTest,
    testing::Values(FormatCase{u"dd/MM/yyyy", u"03.04.2020"}, FormatCase{u"d/M/yy", u"3.4.20"},
                    FormatCase{u"DD/MM/YYYY", u"03.04.2020"}, FormatCase{u"y yyy", u"20 2020"},
                    FormatCase{u"HH:mm:ss", u"09-05-07"}, FormatCase{u"H:m:s", u"9-5-7"},
                    FormatCase{u"hh:nn:ss", u"09-05-07"}, FormatCase{u"HH:NN:SS", u"09-05-07"},
                    FormatCase{u"MM mm", u"04 05"}, FormatCase{u"HH 'h' mm", u"09 h 05"},
                    FormatCase{u"'it''s' d", u"it's 3"}, FormatCase{u"''d", u"'3"},
                    FormatCase{u"\"M/:\"M", u"M/:4"}, FormatCase{u"d 'open", u"3 open"},
                    FormatCase{u"H시 m분", u"9시 5분"}, FormatCase{u"", u""},
                    FormatCase{u"d-M (y)", u"3-4 (20)"}));

TEST(FormatDateTime, AfternoonHoursAreTwentyFourHour) {
    EXPECT_EQ(FormatDateTime(u"h:mm", EncodeTime(14, 5, 0, 0), Settings(u'/', u':')),
              QStringLiteral("14:05"));
}

TEST(FormatDateTime, PadsSmallYears) {
    const TDateTime value = EncodeDate(5, 1, 2);
    EXPECT_EQ(FormatDateTime(u"yyyy yy", value, Settings(u'/', u':')), QStringLiteral("0005 05"));
}

TEST(FormatDateTime, RaisesOnLettersItDoesNotKnow) {
    const char16_t* bad[] = {u"ddd", u"MMM", u"hhh", u"sss", u"yyyyy", u"t", u"z", u"AMPM", u"c"};
    for (const char16_t* format : bad)
        EXPECT_THROW(FormatDateTime(QStringView(format), TDateTime(), Settings(u'/', u':')),
                     EConvertError)
            << QString::fromUtf16(format).toStdString();
}

TEST(FormatDateTime, RaisesOutsideTheDateSystem) {
    EXPECT_THROW(FormatDateTime(u"d", TDateTime(MaxDateTime + 1), Settings(u'/', u':')),
                 EConvertError);
}

} // namespace
