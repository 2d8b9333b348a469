#include "controls/timeedit/datetime_edit_format.h"

#include "platform/core/exception.h"

namespace {

// Characters an edit mask gives a meaning of its own.
bool IsMaskControlChar(QChar c) {
    switch (c.toUpper().unicode()) {
    case u'!':
    case u'#':
    case u'0':
    case u'9':
    case u';':
    case u'<':
    case u'>':
    case u'A':
    case u'C':
    case u'L':
        return true;
    default:
        return false;
    }
}

bool IsPatternKeptChar(QChar c) {
    return DateTimeElementOfLetter(c).has_value() || c == u':' || c == u'/';
}

} // namespace

std::optional<TDateTimeElementEh> DateTimeElementOfLetter(QChar c) {
    switch (c.toUpper().unicode()) {
    case u'Y':
        return TDateTimeElementEh::Year;
    case u'M':
        return TDateTimeElementEh::Month;
    case u'D':
        return TDateTimeElementEh::Day;
    case u'H':
        return TDateTimeElementEh::Hour;
    case u'N':
        return TDateTimeElementEh::Minute;
    case u'S':
        return TDateTimeElementEh::Second;
    default:
        return std::nullopt;
    }
}

QString DatePatternFromShortDate(const QString& shortDateFormat, bool fourDigitYear) {
    QChar first = u'D';
    for (QChar c : shortDateFormat.toUpper()) {
        if (c == u'D' || c == u'M' || c == u'Y') {
            first = c;
            break;
        }
    }
    const QString year = fourDigitYear ? QStringLiteral("YYYY") : QStringLiteral("YY");
    switch (first.unicode()) {
    case u'M':
        return QStringLiteral("MM/DD/") + year;
    case u'Y':
        return year + QStringLiteral("/MM/DD");
    default:
        return QStringLiteral("DD/MM/") + year;
    }
}

QString DateTimePatternForKind(TDateTimeKindEh kind, const QString& shortDateFormat,
                               bool fourDigitYear, const QString& customPattern) {
    switch (kind) {
    case TDateTimeKindEh::dtkDateEh:
        return DatePatternFromShortDate(shortDateFormat, fourDigitYear);
    case TDateTimeKindEh::dtkTimeEh:
        return QStringLiteral("HH:NN:SS");
    case TDateTimeKindEh::dtkDateTimeEh:
        return DatePatternFromShortDate(shortDateFormat, fourDigitYear) +
               QStringLiteral(" HH:NN:SS");
    case TDateTimeKindEh::dtkCustomEh:
        break;
    }
    return customPattern;
}

TDateTimeMaskEh BuildDateTimeMask(const QString& pattern) {
    TDateTimeMaskEh result;
    QString& mask = result.mask;
    const qsizetype n = pattern.size();
    int textPos = 1;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = pattern[i];
        if (c == u'\\') {
            // The mask escapes the next character the same way; a trailing
            // backslash escapes nothing and is dropped.
            if (i + 1 < n) {
                mask += u'\\';
                mask += pattern[i + 1];
                ++textPos;
            }
            i += 2;
            continue;
        }
        if (const auto element = DateTimeElementOfLetter(c)) {
            TDateTimeElementPosEh& pos = result.layout[*element];
            if (pos.present)
                throw Exception(
                    QStringLiteral("Duplicating datetime format element: \"%1\"").arg(c));
            const bool year = *element == TDateTimeElementEh::Year;
            const qsizetype maxRun = year ? 4 : 2;
            qsizetype run = 1;
            while (i + run < n && pattern[i + run].toUpper() == c.toUpper()) {
                ++run;
                if (run > maxRun)
                    throw Exception(
                        QStringLiteral("Element in EditFormat: \"%1\" is too long. Pos: %2")
                            .arg(pattern)
                            .arg(i + run));
            }
            if (year ? (run != 2 && run != 4) : run != 2)
                throw Exception(
                    QStringLiteral("Invalid datetime format element length: \"%1\"").arg(c));
            pos = {textPos, static_cast<int>(run), true};
            mask += QString(run, u'9');
            textPos += static_cast<int>(run);
            i += run;
            continue;
        }
        if (IsMaskControlChar(c))
            mask += u'\\';
        mask += c;
        ++textPos;
        ++i;
    }
    mask = u'!' + mask + QStringLiteral(";1; ");
    return result;
}

QString DisplayFormatFromPattern(const QString& pattern) {
    QString out;
    QString literal;
    // A run of literals goes inside one pair of quotes, the quote character
    // doubled; a run that starts with a single quote uses double quotes, so
    // that the opening is never read as a doubled quote.
    const auto flush = [&] {
        if (literal.isEmpty())
            return;
        const QChar quote = literal[0] == u'\'' ? u'"' : u'\'';
        out += quote;
        for (QChar c : literal) {
            out += c;
            if (c == quote)
                out += c;
        }
        out += quote;
        literal.clear();
    };
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern[i];
        if (c == u'\\') {
            if (i + 1 < n)
                literal += pattern[++i];
            continue;
        }
        if (IsPatternKeptChar(c)) {
            flush();
            out += c.toUpper();
        } else {
            literal += c;
        }
    }
    flush();
    return out;
}

QString PositionTemplateFromPattern(const QString& pattern) {
    QString out;
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern[i];
        if (c == u'\\') {
            if (i + 1 < n) {
                out += u' ';
                ++i;
            }
            continue;
        }
        out += IsPatternKeptChar(c) ? c : QChar(u' ');
    }
    return out;
}
