#pragma once
// The pattern of a date-time box and what is built from it: the element
// layout, the edit mask, the display format and the stepping template.

#include <QChar>
#include <QString>
#include <array>
#include <optional>

enum class TDateTimeKindEh { dtkDateEh, dtkTimeEh, dtkDateTimeEh, dtkCustomEh };

// The six elements in layout order.
enum class TDateTimeElementEh { Year, Month, Day, Hour, Minute, Second };
inline constexpr int kDateTimeElementCount = 6;

// Where an element sits in the box's text; start counts from 1. An absent
// element has start and length -1.
struct TDateTimeElementPosEh {
    int start = -1;
    int length = -1;
    bool present = false;
};

struct TDateTimeLayoutEh {
    std::array<TDateTimeElementPosEh, kDateTimeElementCount> elements;

    const TDateTimeElementPosEh& operator[](TDateTimeElementEh e) const {
        return elements[static_cast<size_t>(e)];
    }
    TDateTimeElementPosEh& operator[](TDateTimeElementEh e) {
        return elements[static_cast<size_t>(e)];
    }
    bool Present(TDateTimeElementEh e) const { return (*this)[e].present; }
};

// The element a pattern letter stands for (D, M, Y, H, N, S in any case).
std::optional<TDateTimeElementEh> DateTimeElementOfLetter(QChar c);

// The date pattern that follows the order of the user's short date format.
QString DatePatternFromShortDate(const QString& shortDateFormat, bool fourDigitYear);
// The pattern of a kind; the custom kind keeps `customPattern` as it is.
QString DateTimePatternForKind(TDateTimeKindEh kind, const QString& shortDateFormat,
                               bool fourDigitYear, const QString& customPattern);

struct TDateTimeMaskEh {
    QString mask;
    TDateTimeLayoutEh layout;
};
// Builds the edit mask and the element layout; a pattern with a bad element
// raises Exception with the message that names it.
TDateTimeMaskEh BuildDateTimeMask(const QString& pattern);

// The format that turns a value into the box's text.
QString DisplayFormatFromPattern(const QString& pattern);
// The pattern aligned with the text: element letters, ':' and '/' kept, the
// rest blank. Stepping finds the element under the caret in it.
QString PositionTemplateFromPattern(const QString& pattern);
