#include "controls/timeedit/datetime_edit_reading.h"

#include <algorithm>

namespace {

using E = TDateTimeElementEh;

// A value split into its six elements and its milliseconds.
struct TParts {
    std::array<int, kDateTimeElementCount> element{};
    int msec = 0;

    int& operator[](E e) { return element[static_cast<size_t>(e)]; }
    int operator[](E e) const { return element[static_cast<size_t>(e)]; }
};

TParts Split(TDateTime value) {
    TParts p;
    DecodeDate(value, p[E::Year], p[E::Month], p[E::Day]);
    DecodeTime(value, p[E::Hour], p[E::Minute], p[E::Second], p.msec);
    return p;
}

TDateTime Join(const TParts& p) {
    return ComposeDateTime(EncodeDate(p[E::Year], p[E::Month], p[E::Day]),
                           EncodeTime(p[E::Hour], p[E::Minute], p[E::Second], p.msec));
}

TParts BaseParts(const TNullableDateTime& value) {
    return Split(value.value_or(DateTimeEditBase()));
}

// A base day that the month taken from the text does not have (31 with a
// month of 30 days) becomes the month's last day.
void FitDay(TParts& p) {
    p[E::Day] = std::clamp(p[E::Day], 1, DaysInAMonth(p[E::Year], p[E::Month]));
}

std::optional<int> ReadPiece(QStringView piece) {
    int number = 0;
    bool anyDigit = false;
    for (QChar c : piece) {
        if (c == u' ')
            continue;
        if (c < u'0' || c > u'9')
            return std::nullopt;
        anyDigit = true;
        // Pieces are at most four characters long, so this cannot overflow.
        number = number * 10 + (c.unicode() - u'0');
    }
    if (!anyDigit)
        return std::nullopt;
    return number;
}

bool AllMissing(const std::array<std::optional<int>, kDateTimeElementCount>& numbers) {
    return std::none_of(numbers.begin(), numbers.end(), [](const auto& n) { return n; });
}

} // namespace

TDateTime DateTimeEditBase() {
    return EncodeDate(1900, 1, 1);
}

std::array<std::optional<int>, kDateTimeElementCount>
ReadDateTimeElements(const QString& text, const TDateTimeLayoutEh& layout) {
    std::array<std::optional<int>, kDateTimeElementCount> numbers;
    for (size_t i = 0; i < numbers.size(); ++i) {
        const TDateTimeElementPosEh& pos = layout.elements[i];
        if (!pos.present)
            continue;
        // A piece cut short by the end of the text reads what it has.
        numbers[i] = ReadPiece(QStringView(text).mid(pos.start - 1, pos.length));
    }
    return numbers;
}

std::optional<TNullableDateTime> ReadDateTimeStrict(const QString& text,
                                                    const TDateTimeLayoutEh& layout,
                                                    const TNullableDateTime& edited) {
    const auto numbers = ReadDateTimeElements(text, layout);
    if (AllMissing(numbers))
        return TNullableDateTime{};

    // The check: absent date elements count as 1, absent time elements as 0.
    TParts check;
    for (size_t i = 0; i < numbers.size(); ++i) {
        const E e = static_cast<E>(i);
        if (layout.Present(e) && !numbers[i])
            return std::nullopt;
        check.element[i] = numbers[i].value_or(e <= E::Day ? 1 : 0);
    }
    if (check[E::Year] < 1 || check[E::Year] > 9999 || check[E::Month] < 1 ||
        check[E::Month] > 12 || check[E::Day] < 1 ||
        check[E::Day] > DaysInAMonth(check[E::Year], check[E::Month]) || check[E::Hour] > 23 ||
        check[E::Minute] > 59 || check[E::Second] > 59)
        return std::nullopt;

    TParts result = BaseParts(edited);
    for (size_t i = 0; i < numbers.size(); ++i)
        if (numbers[i])
            result.element[i] = *numbers[i];
    FitDay(result);
    return TNullableDateTime(Join(result));
}

TNullableDateTime ReadDateTimeLenient(const QString& text, const TDateTimeLayoutEh& layout,
                                      const TNullableDateTime& edited) {
    const auto numbers = ReadDateTimeElements(text, layout);
    if (AllMissing(numbers))
        return std::nullopt;

    TParts result = BaseParts(edited);
    std::optional<TParts> today;
    for (size_t i = 0; i < numbers.size(); ++i) {
        const E e = static_cast<E>(i);
        if (!layout.Present(e))
            continue;
        if (e <= E::Day && !numbers[i]) {
            if (!today)
                today = Split(Date());
            result.element[i] = today->element[i];
            continue;
        }
        result.element[i] = std::max(numbers[i].value_or(0), 0);
    }
    result[E::Year] = std::clamp(result[E::Year], 1, 9999);
    result[E::Month] = std::clamp(result[E::Month], 1, 12);
    FitDay(result);
    result[E::Hour] = std::min(result[E::Hour], 23);
    result[E::Minute] = std::min(result[E::Minute], 59);
    result[E::Second] = std::min(result[E::Second], 59);
    return Join(result);
}

TNullableDateTime MergeDateTimeForPost(const TNullableDateTime& edited,
                                       const TNullableDateTime& previous,
                                       const TDateTimeLayoutEh& layout) {
    if (!edited)
        return std::nullopt;
    const TParts from = Split(*edited);
    TParts result = BaseParts(previous);
    for (size_t i = 0; i < from.element.size(); ++i)
        if (layout.elements[i].present)
            result.element[i] = from.element[i];
    FitDay(result);
    return Join(result);
}
