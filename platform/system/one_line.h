#pragma once
// Text made to fit one line of a log or of standard error.

#include <QRegularExpression>
#include <QString>

// `text` with each run of line breaks, and the blanks around it, made one blank.
inline QString OneLine(QString text) {
    static const QRegularExpression breaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    return text.replace(breaks, QStringLiteral(" "));
}
