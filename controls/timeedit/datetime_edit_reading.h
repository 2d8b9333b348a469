#pragma once
// Reading a date-time box's text into a value, strictly (a text that does not
// read is refused) or leniently (out-of-range parts are clamped), and the
// merge that posting does.

#include "controls/timeedit/datetime_edit_format.h"
#include "platform/system/datetime.h"

#include <optional>

// A date-time that may be Null (an empty box).
using TNullableDateTime = std::optional<TDateTime>;

// 1 January 1900 00:00:00.000: the parts a text does not hold when there is
// no value to take them from.
TDateTime DateTimeEditBase();

// The number of each element of the layout, taken from the text at its
// position; missing when absent, blank, beyond the text's end or not all
// digits and blanks.
std::array<std::optional<int>, kDateTimeElementCount>
ReadDateTimeElements(const QString& text, const TDateTimeLayoutEh& layout);

// Gives no result when the text does not read. A text with every element
// missing reads as Null. The parts the layout does not hold come from
// `edited`, or from DateTimeEditBase() when it is Null.
std::optional<TNullableDateTime> ReadDateTimeStrict(const QString& text,
                                                    const TDateTimeLayoutEh& layout,
                                                    const TNullableDateTime& edited);

// Never fails: missing time elements are 0, too large ones are clamped,
// missing date elements come from today's date (the clock of Date()).
TNullableDateTime ReadDateTimeLenient(const QString& text, const TDateTimeLayoutEh& layout,
                                      const TNullableDateTime& edited);

// The stored value that posting writes: the layout's elements from `edited`,
// every other part from `previous` (or DateTimeEditBase()); Null stays Null.
TNullableDateTime MergeDateTimeForPost(const TNullableDateTime& edited,
                                       const TNullableDateTime& previous,
                                       const TDateTimeLayoutEh& layout);
