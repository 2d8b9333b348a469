#pragma once
// The user's locale settings the program formats dates, times and numbers
// with, taken from the system locale at start.

#include <QChar>
#include <QLocale>
#include <QString>

// Formats use the letters of FormatDateTime: '/' stands for DateSeparator and
// ':' for TimeSeparator. Hours are always 24-hour: the AM/PM part of a locale's
// pattern is not kept.
struct TFormatSettings {
    QString ShortDateFormat = QStringLiteral("MM/dd/yyyy");
    QString LongTimeFormat = QStringLiteral("HH:mm:ss");
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
    // Between the whole and the fractional digits of a number shown to the user.
    QChar DecimalSeparator = u'.';

    // True when the short date format shows the year with four digits.
    bool FourDigitYear() const;

    // Converts the locale's short date and long time patterns. The C locale
    // gives the defaults above.
    static TFormatSettings FromLocale(const QLocale& locale);
};

// The program's settings, filled from QLocale::system() on first use.
TFormatSettings& FormatSettings();
// Refills the program's settings from a locale.
void LoadFromLocale(const QLocale& locale);
