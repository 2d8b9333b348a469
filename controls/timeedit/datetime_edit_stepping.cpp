#include "controls/timeedit/datetime_edit_stepping.h"

#include "controls/timeedit/datetime_edit_format.h"

#include <algorithm>

namespace {

struct TRange {
    int low;
    int high;
};

TRange RangeOf(TDateTimeElementEh e) {
    switch (e) {
    case TDateTimeElementEh::Year:
        return {1, 9999};
    case TDateTimeElementEh::Month:
        return {1, 12};
    case TDateTimeElementEh::Day:
        return {1, 31};
    case TDateTimeElementEh::Hour:
        return {0, 23};
    case TDateTimeElementEh::Minute:
    case TDateTimeElementEh::Second:
        break;
    }
    return {0, 59};
}

int ReadWhole(QStringView piece) {
    const QStringView trimmed = piece.trimmed();
    if (trimmed.isEmpty() || !std::all_of(trimmed.begin(), trimmed.end(),
                                          [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return 0;
    return trimmed.toInt();
}

} // namespace

std::optional<TSteppedTextEh> StepDateTimeElement(const QString& text, const QString& pattern,
                                                  int selStart, bool up, QChar dateSeparator,
                                                  QChar timeSeparator) {
    const QString positions = PositionTemplateFromPattern(pattern);
    const int length = static_cast<int>(positions.size());
    if (length == 0)
        return std::nullopt;
    // 0-based index of the character under the caret.
    int at = std::clamp(selStart, 0, length - 1);
    const QChar under = positions[at];
    // The template keeps the pattern's ':' and '/', which stand for the
    // separators; the user's own separators are skipped too.
    if (under == u':' || under == u'/' || under == dateSeparator || under == timeSeparator) {
        if (++at >= length)
            return std::nullopt;
    }
    const QChar letter = positions[at];
    const auto element = DateTimeElementOfLetter(letter);
    if (!element)
        return std::nullopt;

    const auto sameLetter = [&](QChar c) { return c.toUpper() == letter.toUpper(); };
    const int start = static_cast<int>(
        std::find_if(positions.begin(), positions.end(), sameLetter) - positions.begin());
    int run = 1;
    while (start + run < length && sameLetter(positions[start + run]))
        ++run;

    TSteppedTextEh result{text, start, run};
    if (result.text.size() < start + run)
        result.text = result.text.leftJustified(start + run, u' ');

    const TRange range = RangeOf(*element);
    int number = ReadWhole(QStringView(result.text).mid(start, run));
    if (up)
        number = number >= range.high ? range.low : number + 1;
    else
        number = number <= range.low ? range.high : number - 1;
    // A two-digit year keeps its last two digits.
    const QString digits = QString::number(number).rightJustified(run, u'0').right(run);
    result.text.replace(start, run, digits);
    return result;
}
