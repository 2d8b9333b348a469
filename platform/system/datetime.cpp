#include "platform/system/datetime.h"

#include "platform/system/format_settings.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr std::int64_t MSecsPerDay = 86400000;

// Days from 1 January 1970 of a proleptic Gregorian date (H. Hinnant's
// days_from_civil), shifted to the date system's day zero below.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

// 30 December 1899 counted from 1 January 1970.
const std::int64_t DayZero = DaysFromCivil(1899, 12, 30);

struct Split {
    std::int64_t days;
    std::int64_t msOfDay;
};

// Whole days and milliseconds of the day, rounding to the millisecond and
// carrying a time that rounds to midnight into the next day (away from zero).
Split SplitValue(TDateTime value) {
    const double v = value.Value();
    // The first day's times of day lie below MinDateTime: a negative value
    // counts its time backwards.
    if (!std::isfinite(v) || v <= MinDateTime - 1.0 || v >= MaxDateTime + 1.0)
        throw EConvertError(QStringLiteral("Invalid argument to date decode"));
    const double whole = std::trunc(v);
    auto days = static_cast<std::int64_t>(whole);
    auto ms = static_cast<std::int64_t>(std::llround(std::fabs(v - whole) * MSecsPerDay));
    if (ms >= MSecsPerDay) {
        ms -= MSecsPerDay;
        days += v < 0 ? -1 : 1;
    }
    return {days, ms};
}

TClock& CurrentClock() {
    static TClock clock;
    return clock;
}

QString TwoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

[[noreturn]] void BadFormat(QStringView format) {
    throw EConvertError(QStringLiteral("Invalid date-time format: \"%1\"").arg(format));
}

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInAMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

std::optional<TDateTime> TryEncodeDate(int year, int month, int day) {
    if (day < 1 || day > DaysInAMonth(year, month))
        return std::nullopt;
    const std::int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - DayZero;
    return TDateTime(static_cast<double>(days));
}

std::optional<TDateTime> TryEncodeTime(int hour, int minute, int second, int msec) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        return std::nullopt;
    const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + msec;
    return TDateTime(static_cast<double>(ms) / MSecsPerDay);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (auto value = TryEncodeDate(year, month, day))
        return *value;
    throw EConvertError(QStringLiteral("Invalid argument to date encode"));
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
    if (auto value = TryEncodeTime(hour, minute, second, msec))
        return *value;
    throw EConvertError(QStringLiteral("Invalid argument to time encode"));
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, minute, second, msec));
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
    const double days = date.DatePart().Value();
    const double fraction = time.TimePart().Value();
    return TDateTime(days < 0 ? days - fraction : days + fraction);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    CivilFromDays(SplitValue(value).days + DayZero, year, month, day);
    if (year < 1 || year > 9999)
        throw EConvertError(QStringLiteral("Invalid argument to date decode"));
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec) {
    auto ms = SplitValue(value).msOfDay;
    msec = static_cast<int>(ms % 1000);
    ms /= 1000;
    second = static_cast<int>(ms % 60);
    ms /= 60;
    minute = static_cast<int>(ms % 60);
    hour = static_cast<int>(ms / 60);
}

TDateTime TDateTime::FromQDate(const QDate& date) {
    if (!date.isValid())
        return TDateTime();
    return EncodeDate(date.year(), date.month(), date.day());
}

TDateTime TDateTime::FromQTime(const QTime& time) {
    if (!time.isValid())
        return TDateTime();
    return EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
}

TDateTime TDateTime::FromQDateTime(const QDateTime& dateTime) {
    if (!dateTime.isValid())
        return TDateTime();
    return ComposeDateTime(FromQDate(dateTime.date()), FromQTime(dateTime.time()));
}

QDate TDateTime::ToQDate() const {
    int year = 0, month = 0, day = 0;
    DecodeDate(*this, year, month, day);
    return QDate(year, month, day);
}

QTime TDateTime::ToQTime() const {
    int hour = 0, minute = 0, second = 0, msec = 0;
    DecodeTime(*this, hour, minute, second, msec);
    return QTime(hour, minute, second, msec);
}

QDateTime TDateTime::ToQDateTime() const {
    return QDateTime(ToQDate(), ToQTime());
}

TDateTime TDateTime::DatePart() const {
    return TDateTime(std::trunc(value_));
}

TDateTime TDateTime::TimePart() const {
    return TDateTime(std::fabs(value_ - std::trunc(value_)));
}

TDateTime Now() {
    const TClock& clock = CurrentClock();
    return clock ? clock() : TDateTime::FromQDateTime(QDateTime::currentDateTime());
}

TDateTime Date() {
    return Now().DatePart();
}

TDateTime Time() {
    return Now().TimePart();
}

TClock SetClock(TClock clock) {
    TClock previous = std::move(CurrentClock());
    CurrentClock() = std::move(clock);
    return previous;
}

TFixedClock::TFixedClock(TDateTime moment) : previous_(SetClock([moment] { return moment; })) {}

TFixedClock::~TFixedClock() {
    SetClock(std::move(previous_));
}

QString FormatDateTime(QStringView format, TDateTime value, const TFormatSettings& settings) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);

    QString out;
    const qsizetype n = format.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = format[i];
        if (c == u'\'' || c == u'"') {
            // A bare pair of quotes is the quote itself; inside a quoted
            // literal a doubled quote is one quote.
            if (i + 1 < n && format[i + 1] == c) {
                out += c;
                i += 2;
                continue;
            }
            ++i;
            while (i < n) {
                if (format[i] == c) {
                    if (i + 1 < n && format[i + 1] == c) {
                        out += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += format[i++];
            }
            continue;
        }
        if (c == u'/') {
            out += settings.DateSeparator;
            ++i;
            continue;
        }
        if (c == u':') {
            out += settings.TimeSeparator;
            ++i;
            continue;
        }
        if (c.unicode() >= 0x80 || !c.isLetter()) {
            out += c;
            ++i;
            continue;
        }
        // A run of one letter; M and m are told apart, the others are not.
        const QChar letter = (c == u'M' || c == u'm') ? c : c.toLower();
        qsizetype run = 1;
        while (i + run < n && (format[i + run] == c || (letter != u'M' && letter != u'm' &&
                                                        format[i + run].toLower() == letter)))
            ++run;
        const auto numberOf = [&](int number) {
            if (run > 2)
                BadFormat(format);
            out += run == 1 ? QString::number(number) : TwoDigits(number);
        };
        switch (letter.unicode()) {
        case u'd':
            numberOf(day);
            break;
        case u'M':
            numberOf(month);
            break;
        case u'h':
            numberOf(hour);
            break;
        case u'm':
        case u'n':
            numberOf(minute);
            break;
        case u's':
            numberOf(second);
            break;
        case u'y':
            if (run > 4)
                BadFormat(format);
            out += run <= 2 ? TwoDigits(year % 100)
                            : QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
            break;
        default:
            BadFormat(format);
        }
        i += run;
    }
    return out;
}

QString FormatDateTime(QStringView format, TDateTime value) {
    return FormatDateTime(format, value, FormatSettings());
}
