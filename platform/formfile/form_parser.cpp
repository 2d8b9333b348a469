#include "platform/formfile/form_parser.h"

#include "platform/formfile/form_error.h"

#include <QStringList>
#include <cctype>
#include <optional>

namespace {

struct SourceLine {
    int number;
    int indent;
    QString text; // without indentation and trailing blanks
};

bool IsIdentStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool IsIdentChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'.';
}

class Parser {
public:
    Parser(const QString& text, const QString& file) : file_(file) { Split(text); }

    FormNode ParseRoot() {
        if (lines_.empty())
            Fail(1, QStringLiteral("Empty form description"));
        const SourceLine& first = lines_[0];
        if (first.indent != 0)
            Fail(first.number, QStringLiteral("The first block must not be indented"));
        FormNode root = ParseBlock(first);
        ++pos_;
        ParseBody(root, 0);
        if (pos_ < lines_.size())
            Fail(lines_[pos_].number, QStringLiteral("Only one root block is allowed"));
        return root;
    }

private:
    [[noreturn]] void Fail(int line, const QString& what) const {
        throw EFormError(file_, line, what);
    }

    void Split(const QString& text) {
        const QStringList raw = text.split(u'\n');
        for (int i = 0; i < raw.size(); ++i) {
            QString s = raw[i];
            if (s.endsWith(u'\r'))
                s.chop(1);
            int indent = 0;
            while (indent < s.size() && s[indent] == u' ')
                ++indent;
            if (indent < s.size() && s[indent] == u'\t')
                Fail(i + 1, QStringLiteral("Tabs are not allowed for indentation"));
            QString body = s.mid(indent);
            while (!body.isEmpty() && body.back().isSpace())
                body.chop(1);
            if (body.isEmpty() || body.startsWith(u'#'))
                continue;
            lines_.push_back({i + 1, indent, body});
        }
    }

    // A component block header: "TClass Name".
    FormNode ParseBlock(const SourceLine& line) {
        const QStringList words = line.text.split(u' ', Qt::SkipEmptyParts);
        if (words.size() != 2 || !IsIdentifier(words[0]) || !IsIdentifier(words[1]))
            Fail(line.number,
                 QStringLiteral("Expected a component block (class and name), found \"%1\"")
                     .arg(line.text));
        FormNode node;
        node.className = words[0];
        node.name = words[1];
        node.line = line.number;
        return node;
    }

    static bool IsIdentifier(const QString& s) {
        if (s.isEmpty() || !IsIdentStart(s[0]))
            return false;
        for (QChar c : s)
            if (!IsIdentChar(c))
                return false;
        return true;
    }

    // Reads the statements indented deeper than `indent` into `node`.
    void ParseBody(FormNode& node, int indent) {
        std::optional<int> bodyIndent;
        while (pos_ < lines_.size() && lines_[pos_].indent > indent) {
            const SourceLine& line = lines_[pos_];
            if (!bodyIndent)
                bodyIndent = line.indent;
            else if (line.indent != *bodyIndent)
                Fail(line.number, QStringLiteral("Inconsistent indentation"));
            if (IsPropertyLine(line.text)) {
                node.properties.push_back(ParseProperty(line));
            } else {
                FormNode child = ParseBlock(line);
                ++pos_;
                ParseBody(child, line.indent);
                node.children.push_back(std::move(child));
            }
        }
    }

    static bool IsPropertyLine(const QString& text) {
        const int eq = text.indexOf(u'=');
        return eq > 0 && IsIdentifier(text.left(eq).trimmed());
    }

    // "Name = value"; advances past the value's own indented lines.
    FormProperty ParseProperty(const SourceLine& line) {
        const int eq = line.text.indexOf(u'=');
        FormProperty prop;
        prop.name = line.text.left(eq).trimmed();
        prop.line = line.number;
        const QString valueText = line.text.mid(eq + 1).trimmed();
        ++pos_;
        prop.value = std::make_shared<FormValue>(ParseValue(valueText, line));
        return prop;
    }

    FormValue ParseValue(const QString& text, const SourceLine& line) {
        FormValue v;
        v.line = line.number;
        if (text.isEmpty())
            Fail(line.number, QStringLiteral("Missing value"));
        if (text == u"lines") {
            v.kind = FormValue::Kind::Lines;
            for (const SourceLine* l : NestedLines(line.indent))
                v.list << ParseString(l->text, l->number);
        } else if (text == u"bytes") {
            v.kind = FormValue::Kind::Bytes;
            for (const SourceLine* l : NestedLines(line.indent))
                v.bytes += ParseHex(l->text, l->number);
        } else if (text == u"items") {
            v.kind = FormValue::Kind::Collection;
            ParseItems(v, line.indent);
        } else if (text.startsWith(u'"')) {
            v.kind = FormValue::Kind::String;
            v.text = ParseString(text, line.number);
        } else if (text.startsWith(u'[')) {
            if (!text.endsWith(u']'))
                Fail(line.number, QStringLiteral("A set must end with ]"));
            v.kind = FormValue::Kind::Set;
            const QString inner = text.mid(1, text.size() - 2).trimmed();
            if (!inner.isEmpty())
                for (const QString& part : inner.split(u',')) {
                    const QString id = part.trimmed();
                    if (!IsIdentifier(id))
                        Fail(line.number, QStringLiteral("Bad set element \"%1\"").arg(id));
                    v.list << id;
                }
        } else if (text[0].isDigit() || text[0] == u'-' || text[0] == u'+') {
            bool ok = false;
            v.integer = text.toLongLong(&ok);
            if (ok) {
                v.kind = FormValue::Kind::Integer;
            } else {
                v.number = text.toDouble(&ok);
                if (!ok)
                    Fail(line.number, QStringLiteral("Bad number \"%1\"").arg(text));
                v.kind = FormValue::Kind::Float;
            }
        } else if (IsIdentifier(text)) {
            v.kind = FormValue::Kind::Identifier;
            v.text = text;
        } else {
            Fail(line.number, QStringLiteral("Bad value \"%1\"").arg(text));
        }
        return v;
    }

    std::vector<const SourceLine*> NestedLines(int indent) {
        std::vector<const SourceLine*> out;
        while (pos_ < lines_.size() && lines_[pos_].indent > indent)
            out.push_back(&lines_[pos_++]);
        return out;
    }

    void ParseItems(FormValue& v, int indent) {
        while (pos_ < lines_.size() && lines_[pos_].indent > indent) {
            const SourceLine& itemLine = lines_[pos_];
            if (itemLine.text != u"item")
                Fail(itemLine.number,
                     QStringLiteral("Expected item, found \"%1\"").arg(itemLine.text));
            ++pos_;
            std::vector<FormProperty> props;
            while (pos_ < lines_.size() && lines_[pos_].indent > itemLine.indent) {
                const SourceLine& l = lines_[pos_];
                if (!IsPropertyLine(l.text))
                    Fail(l.number, QStringLiteral("Expected a property, found \"%1\"").arg(l.text));
                props.push_back(ParseProperty(l));
            }
            v.items.push_back(std::move(props));
        }
    }

    QString ParseString(const QString& text, int lineNumber) const {
        if (text.size() < 2 || !text.startsWith(u'"'))
            Fail(lineNumber, QStringLiteral("Expected a string in double quotes"));
        QString out;
        int i = 1;
        for (; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == u'"')
                break;
            if (c != u'\\') {
                out += c;
                continue;
            }
            if (++i >= text.size())
                break;
            switch (text[i].unicode()) {
            case '"':
                out += u'"';
                break;
            case '\\':
                out += u'\\';
                break;
            case 'n':
                out += u'\n';
                break;
            case 'r':
                out += u'\r';
                break;
            case 't':
                out += u'\t';
                break;
            default:
                Fail(lineNumber, QStringLiteral("Unknown escape \\%1").arg(text[i]));
            }
        }
        if (i >= text.size())
            Fail(lineNumber, QStringLiteral("Unterminated string"));
        if (i != text.size() - 1)
            Fail(lineNumber, QStringLiteral("Unexpected text after the string"));
        return out;
    }

    QByteArray ParseHex(const QString& text, int lineNumber) const {
        QString digits = text;
        digits.remove(u' ');
        if (digits.size() % 2 != 0)
            Fail(lineNumber, QStringLiteral("An odd number of hexadecimal digits"));
        for (QChar c : digits)
            if (!std::isxdigit(static_cast<unsigned char>(c.toLatin1())))
                Fail(lineNumber, QStringLiteral("Bad hexadecimal digit '%1'").arg(c));
        return QByteArray::fromHex(digits.toLatin1());
    }

    QString file_;
    std::vector<SourceLine> lines_;
    size_t pos_ = 0;
};

} // namespace

FormNode ParseForm(const QString& text, const QString& fileName) {
    return Parser(text, fileName).ParseRoot();
}
