#pragma once
// The date-time value of the program: a day count from 30 December 1899 whose
// fraction is the time of day, with the encoding, decoding and clock helpers.

#include "platform/system/convert_error.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QTime>
#include <compare>
#include <functional>
#include <optional>

struct TFormatSettings;

// Days since 30 December 1899 plus the fraction of the day. Negative values
// count back from that day; their time of day is the fraction's absolute
// value, so -1.25 is 29 December 1899 06:00. Zero (the default) is what a null
// date-time reads as.
class TDateTime {
public:
    constexpr TDateTime() = default;
    constexpr explicit TDateTime(double value) : value_(value) {}

    constexpr double Value() const { return value_; }

    // An invalid QDate, QTime or QDateTime gives zero, the null reading.
    static TDateTime FromQDate(const QDate& date);
    static TDateTime FromQTime(const QTime& time);
    static TDateTime FromQDateTime(const QDateTime& dateTime);

    QDate ToQDate() const;
    QTime ToQTime() const;
    // The local date and time the value stands for.
    QDateTime ToQDateTime() const;

    // The whole days, truncated towards zero.
    TDateTime DatePart() const;
    // The time of day, always from 0 up to (not including) 1.
    TDateTime TimePart() const;

    friend constexpr bool operator==(TDateTime, TDateTime) = default;
    friend constexpr auto operator<=>(TDateTime, TDateTime) = default;

private:
    double value_ = 0.0;
};

// The first and the last day the date system covers (1 January 0001 and
// 31 December 9999); a time of day on the first day is below MinDateTime.
inline constexpr double MinDateTime = -693593.0;
inline constexpr double MaxDateTime = 2958465.99999999;

bool IsLeapYear(int year);
// 0 when the year or month is out of range.
int DaysInAMonth(int year, int month);

// The Try forms give no value when the arguments are out of range; the others
// raise EConvertError then.
std::optional<TDateTime> TryEncodeDate(int year, int month, int day);
std::optional<TDateTime> TryEncodeTime(int hour, int minute, int second, int msec);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec);
// Joins a date (its whole days) and a time of day (its fraction) the way the
// date system does for negative dates too.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// Values are rounded to the millisecond; a time that rounds up to midnight
// moves to the next day. Values whose day lies outside the date system (the
// first day's times of day lie below MinDateTime, down to MinDateTime - 1
// excluded), or not finite, raise EConvertError.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

// The current moment, today and the time of day, all from the clock below.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// The clock that Now reads: the system's local time unless replaced. Passing
// an empty function restores the system clock; the previous clock is returned.
using TClock = std::function<TDateTime()>;
TClock SetClock(TClock clock);

// Stops the clock at a fixed moment for as long as it lives.
class TFixedClock {
public:
    explicit TFixedClock(TDateTime moment);
    ~TFixedClock();
    TFixedClock(const TFixedClock&) = delete;
    TFixedClock& operator=(const TFixedClock&) = delete;

private:
    TClock previous_;
};

// Formats a value with these letters (case-insensitive except M and m):
//   d dd       day, without or with a leading zero
//   M MM       month
//   yy yyyy    two- or four-digit year (one or two letters give two digits,
//              three or four give four)
//   h hh H HH  hour, always 0 to 23
//   m mm n nn  minute
//   s ss       second
//   /          the settings' date separator
//   :          the settings' time separator
//   '...' "..." literal text; a doubled quote stands for the quote itself.
// Other characters are copied; any other ASCII letter, or a longer run of a
// letter, raises EConvertError.
QString FormatDateTime(QStringView format, TDateTime value, const TFormatSettings& settings);
// The same with the program's locale settings.
QString FormatDateTime(QStringView format, TDateTime value);
