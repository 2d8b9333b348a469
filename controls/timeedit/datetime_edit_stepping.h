#pragma once
// Stepping the element under the caret of a date-time box one up or down,
// with wrap-around, on the text alone.

#include <QChar>
#include <QString>
#include <optional>

struct TSteppedTextEh {
    QString text;
    // The stepped element, left selected (0-based start).
    int selStart = 0;
    int selLength = 0;
};

// Gives no result when the caret is on no element. `selStart` is the 0-based
// selection start of the box; the separators are skipped to the right.
std::optional<TSteppedTextEh> StepDateTimeElement(const QString& text, const QString& pattern,
                                                  int selStart, bool up, QChar dateSeparator,
                                                  QChar timeSeparator);
