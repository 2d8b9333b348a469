// Feeds arbitrary texts to the time box's readings, with the box's own
// patterns or an arbitrary one, and with no value or any valid value being
// edited. A bad pattern may be refused with its error; after that nothing
// may escape: a strict reading that succeeds gives a valid value and the
// same as the lenient one, the lenient one always gives a valid value, and a
// value shown in the box reads back as itself. Stepping an element of the text must not fail
// either.

#include "controls/timeedit/datetime_edit_format.h"
#include "controls/timeedit/datetime_edit_reading.h"
#include "controls/timeedit/datetime_edit_stepping.h"
#include "platform/core/exception.h"
#include "platform/system/datetime.h"

#include <QString>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

// The patterns the program's boxes use; the last choice takes the pattern from the input.
const char* const kPatterns[] = {"HH:NN:SS", "DD/MM/YYYY",          "MM/DD/YYYY", "YYYY/MM/DD",
                                 "DD/MM/YY", "DD/MM/YYYY HH:NN:SS", "hh:nn"};

bool Valid(TDateTime value) {
    try {
        int y, m, d, h, n, s, ms;
        DecodeDate(value, y, m, d);
        DecodeTime(value, h, n, s, ms);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

bool ValidOrNull(const TNullableDateTime& value) {
    return !value || Valid(*value);
}

// A value the box may be editing: none, or any valid date-time.
TNullableDateTime EditedValue(const uint8_t* bytes, bool null) {
    double value = 0;
    std::memcpy(&value, bytes, sizeof value);
    if (null || !std::isfinite(value))
        return std::nullopt;
    if (value < MinDateTime || value > MaxDateTime)
        value =
            std::fmod(value, MaxDateTime - MinDateTime) + (value < 0 ? MaxDateTime : MinDateTime);
    const TDateTime edited(value);
    if (!Valid(edited))
        return std::nullopt;
    return edited;
}

double Shown(const TNullableDateTime& value) {
    return value ? value->Value() : std::nan("");
}

// Tells what broke, with the case, and stops the run.
[[noreturn]] void Fail(const char* what, const QString& pattern, const QString& text,
                       const TNullableDateTime& edited, const TNullableDateTime& got) {
    std::fprintf(stderr, "%s\npattern \"%s\" text \"%s\" edited %.9f got %.9f\n", what,
                 pattern.toUtf8().constData(), text.toUtf8().constData(), Shown(edited),
                 Shown(got));
    std::abort();
}

void Check(const QString& pattern, const QString& text, const TNullableDateTime& edited,
           int caret) {
    TDateTimeMaskEh mask;
    try {
        mask = BuildDateTimeMask(pattern);
    } catch (const Exception&) {
        return; // a pattern the box refuses
    }
    const TDateTimeLayoutEh& layout = mask.layout;
    const std::optional<TNullableDateTime> strict = ReadDateTimeStrict(text, layout, edited);
    const TNullableDateTime lenient = ReadDateTimeLenient(text, layout, edited);
    if (!ValidOrNull(lenient))
        Fail("The lenient reading gave an invalid value", pattern, text, edited, lenient);
    if (strict && !ValidOrNull(*strict))
        Fail("The strict reading gave an invalid value", pattern, text, edited, *strict);
    if (strict && *strict != lenient)
        Fail("The strict reading differs from the lenient one", pattern, text, edited, *strict);
    if (!ValidOrNull(MergeDateTimeForPost(lenient, edited, layout)))
        Fail("Posting gave an invalid value", pattern, text, edited, lenient);

    // Shown and read again, a value is itself. Not where the strict check
    // judges a date the text only partly holds: without a year it checks the
    // day against year 1, so 29/02 of a leap year does not read back.
    using E = TDateTimeElementEh;
    const bool checkable = layout.Present(E::Year)
                               ? layout[E::Year].length == 4
                               : !layout.Present(E::Month) && !layout.Present(E::Day);
    if (lenient && checkable) {
        const QString shown = FormatDateTime(DisplayFormatFromPattern(pattern), *lenient);
        const auto again = ReadDateTimeStrict(shown, layout, lenient);
        if (again != std::optional(lenient))
            Fail("A value shown does not read back", pattern, shown, lenient,
                 again.value_or(std::nullopt));
    }
    (void)StepDateTimeElement(text, pattern, caret, caret % 2 == 0, u'/', u':');
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Missing date elements come from today: the same day on every run.
    static TFixedClock clock(EncodeDateTime(2024, 2, 29, 14, 5, 9, 0));
    return 0;
}

// Input: a pattern choice, a flags byte, eight bytes of the edited value,
// then the text (for the last choice, the pattern, a NUL, then the text).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 10)
        return 0;
    const size_t choice = data[0] % (std::size(kPatterns) + 1);
    const uint8_t flags = data[1];
    const TNullableDateTime edited = EditedValue(data + 2, flags & 1);
    const char* rest = reinterpret_cast<const char*>(data + 10);
    size_t restSize = size - 10;
    QString pattern;
    if (choice < std::size(kPatterns)) {
        pattern = QString::fromLatin1(kPatterns[choice]);
    } else {
        const void* nul = std::memchr(rest, 0, restSize);
        const size_t length = nul ? static_cast<const char*>(nul) - rest : restSize;
        pattern = QString::fromUtf8(rest, static_cast<qsizetype>(length));
        rest += nul ? length + 1 : length;
        restSize -= nul ? length + 1 : length;
    }
    const QString text = QString::fromUtf8(rest, static_cast<qsizetype>(restSize));
    Check(pattern, text, edited, flags >> 1);
    return 0;
}
