#include "platform/system/format_settings.h"

#include <vector>

namespace {

// One piece of a Qt date-time pattern: a run of a field letter, or literal text.
struct Token {
    bool field = false;
    QChar letter;
    qsizetype count = 0;
    QString text; // literal text, unquoted
};

bool IsQtFieldLetter(QChar c) {
    switch (c.unicode()) {
    case u'd':
    case u'M':
    case u'y':
    case u'h':
    case u'H':
    case u'm':
    case u's':
    case u'z':
    case u'a':
    case u'A':
    case u't':
        return true;
    default:
        return false;
    }
}

std::vector<Token> Tokenize(const QString& pattern) {
    std::vector<Token> tokens;
    const auto addLiteral = [&tokens](QChar c) {
        if (tokens.empty() || tokens.back().field)
            tokens.push_back(Token{});
        tokens.back().text += c;
    };
    const qsizetype n = pattern.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            if (i + 1 < n && pattern[i + 1] == u'\'') {
                addLiteral(c);
                i += 2;
                continue;
            }
            for (++i; i < n; ++i) {
                if (pattern[i] == u'\'') {
                    if (i + 1 < n && pattern[i + 1] == u'\'') {
                        addLiteral(c);
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                addLiteral(pattern[i]);
            }
            continue;
        }
        // "AP" and "ap" are one field; 'p' or 'P' alone is text to Qt.
        if ((c == u'A' || c == u'a') && i + 1 < n && pattern[i + 1].toLower() == u'p') {
            tokens.push_back(Token{true, u'a', 2, {}});
            i += 2;
            continue;
        }
        if (IsQtFieldLetter(c)) {
            qsizetype run = 1;
            while (i + run < n && pattern[i + run] == c)
                ++run;
            tokens.push_back(Token{true, c == u'A' ? u'a' : c, run, {}});
            i += run;
            continue;
        }
        addLiteral(c);
        ++i;
    }
    return tokens;
}

// Day names, AM/PM, milliseconds and time zones have no letter in the
// program's formats.
bool IsKept(const Token& t) {
    if (!t.field)
        return true;
    switch (t.letter.unicode()) {
    case u'd':
        return t.count <= 2;
    case u'a':
    case u'z':
    case u't':
        return false;
    default:
        return true;
    }
}

bool IsTrimmable(QChar c) {
    return c.isSpace() || c == u'(' || c == u')' || c == u'[' || c == u']' ||
           c.category() == QChar::Other_Format;
}

// Removes the dropped fields, and the blanks and brackets that only framed them.
std::vector<Token> DropUnsupported(std::vector<Token> tokens) {
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (IsKept(tokens[i]))
            continue;
        if (i > 0 && !tokens[i - 1].field) {
            QString& text = tokens[i - 1].text;
            while (!text.isEmpty() && IsTrimmable(text.back()))
                text.chop(1);
        }
        if (i + 1 < tokens.size() && !tokens[i + 1].field) {
            QString& text = tokens[i + 1].text;
            qsizetype k = 0;
            while (k < text.size() && IsTrimmable(text[k]))
                ++k;
            text.remove(0, k);
        }
    }
    std::vector<Token> kept;
    for (Token& t : tokens) {
        if (!IsKept(t) || (!t.field && t.text.isEmpty()))
            continue;
        if (!t.field && !kept.empty() && !kept.back().field)
            kept.back().text += t.text;
        else
            kept.push_back(std::move(t));
    }
    return kept;
}

// The separator is the first punctuation mark between the first two fields
// of the given kinds (blanks and bidi marks do not count).
QChar FindSeparator(const std::vector<Token>& tokens, QStringView firstFields,
                    QStringView secondFields, QChar fallback) {
    for (size_t i = 0; i + 2 < tokens.size(); ++i) {
        if (!tokens[i].field || !firstFields.contains(tokens[i].letter))
            continue;
        if (tokens[i + 1].field || !tokens[i + 2].field ||
            !secondFields.contains(tokens[i + 2].letter))
            continue;
        for (QChar c : tokens[i + 1].text) {
            if (c.isPunct() || c.isSymbol())
                return c;
        }
        return fallback;
    }
    return fallback;
}

QString FieldText(const Token& t) {
    switch (t.letter.unicode()) {
    case u'y':
        // Always four digits: dates go into SQL and into the ERP's procedure
        // as text, where a two-digit year would leave the century to a guess.
        return QStringLiteral("yyyy");
    case u'M':
        return t.count == 1 ? QStringLiteral("M") : QStringLiteral("MM");
    default:
        return QString(t.count >= 2 ? 2 : 1, t.letter);
    }
}

// Literal text for FormatDateTime: the separator becomes its stand-in, letters
// and the characters the formatter gives a meaning are quoted.
QString LiteralText(const QString& text, QChar separator, QChar standIn) {
    QString out;
    QString quoted;
    const auto flush = [&] {
        if (!quoted.isEmpty())
            out += u'\'' + quoted + u'\'';
        quoted.clear();
    };
    for (QChar c : text) {
        if (c == separator) {
            flush();
            out += standIn;
        } else if (c == u'\'') {
            quoted += QStringLiteral("''");
        } else if (c.isLetter() || c == u'/' || c == u':' || c == u'"') {
            quoted += c;
        } else {
            flush();
            out += c;
        }
    }
    flush();
    return out;
}

QString Convert(const std::vector<Token>& tokens, QChar separator, QChar standIn) {
    QString out;
    for (const Token& t : tokens)
        out += t.field ? FieldText(t) : LiteralText(t.text, separator, standIn);
    return out;
}

} // namespace

bool TFormatSettings::FourDigitYear() const {
    return ShortDateFormat.toUpper().contains(QLatin1String("YYY"));
}

TFormatSettings TFormatSettings::FromLocale(const QLocale& locale) {
    TFormatSettings settings;
    if (locale.language() == QLocale::C)
        return settings;

    const auto date = DropUnsupported(Tokenize(locale.dateFormat(QLocale::ShortFormat)));
    settings.DateSeparator = FindSeparator(date, u"dMy", u"dMy", u'/');
    settings.ShortDateFormat = Convert(date, settings.DateSeparator, u'/');

    const auto time = DropUnsupported(Tokenize(locale.timeFormat(QLocale::LongFormat)));
    settings.TimeSeparator = FindSeparator(time, u"hH", u"m", u':');
    settings.LongTimeFormat = Convert(time, settings.TimeSeparator, u':');

    const QString point = locale.decimalPoint();
    if (point.size() == 1)
        settings.DecimalSeparator = point[0];
    return settings;
}

TFormatSettings& FormatSettings() {
    static TFormatSettings settings = TFormatSettings::FromLocale(QLocale::system());
    return settings;
}

void LoadFromLocale(const QLocale& locale) {
    FormatSettings() = TFormatSettings::FromLocale(locale);
}
