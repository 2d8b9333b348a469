#include "controls/timeedit/edit_mask_eh.h"

#include <QStringList>
#include <algorithm>

TEditMaskEh::TEditMaskEh(const QString& mask, QChar dateSeparator, QChar timeSeparator) {
    // The fields after the picture: ";1" keeps literals in the text, the last
    // field is the blank character.
    QString picture = mask;
    qsizetype fieldStart = -1;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (mask[i] == u'\\') {
            ++i;
            continue;
        }
        if (mask[i] == u';') {
            fieldStart = i;
            break;
        }
    }
    if (fieldStart >= 0) {
        picture = mask.left(fieldStart);
        const QStringList fields = mask.mid(fieldStart + 1).split(u';');
        if (!fields.isEmpty() && !fields[0].isEmpty())
            saveLiterals_ = fields[0][0] != u'0';
        if (fields.size() > 1 && !fields[1].isEmpty())
            blank_ = fields[1][0];
    }

    TCase letterCase = TCase::Keep;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        TSlot slot;
        slot.letterCase = letterCase;
        switch (c.unicode()) {
        case u'!':
            rightAligned_ = true;
            continue;
        case u'>':
            letterCase = TCase::Upper;
            continue;
        case u'<':
            if (i + 1 < picture.size() && picture[i + 1] == u'>') {
                letterCase = TCase::Keep;
                ++i;
            } else {
                letterCase = TCase::Lower;
            }
            continue;
        case u'\\':
            if (++i >= picture.size())
                continue;
            slot.kind = TSlotKind::Literal;
            slot.literal = picture[i];
            break;
        case u'0':
        case u'9':
            slot.kind = TSlotKind::Digit;
            break;
        case u'#':
            slot.kind = TSlotKind::DigitOrSign;
            break;
        case u'L':
        case u'l':
            slot.kind = TSlotKind::Letter;
            break;
        case u'A':
        case u'a':
            slot.kind = TSlotKind::AlphaNumeric;
            break;
        case u'C':
        case u'c':
            slot.kind = TSlotKind::AnyChar;
            break;
        case u':':
            slot.kind = TSlotKind::Literal;
            slot.literal = timeSeparator;
            break;
        case u'/':
            slot.kind = TSlotKind::Literal;
            slot.literal = dateSeparator;
            break;
        default:
            slot.kind = TSlotKind::Literal;
            slot.literal = c;
            break;
        }
        slots_.push_back(slot);
    }
}

bool TEditMaskEh::IsLiteral(int index) const {
    return index >= 0 && index < Length() &&
           slots_[static_cast<size_t>(index)].kind == TSlotKind::Literal;
}

QChar TEditMaskEh::LiteralAt(int index) const {
    return IsLiteral(index) ? slots_[static_cast<size_t>(index)].literal : QChar();
}

QString TEditMaskEh::BlankText() const {
    QString text;
    for (int i = 0; i < Length(); ++i)
        text += IsLiteral(i) ? LiteralAt(i) : blank_;
    return text;
}

bool TEditMaskEh::Fits(int index, QChar& c) const {
    if (index < 0 || index >= Length())
        return false;
    const TSlot& slot = slots_[static_cast<size_t>(index)];
    const bool digit = c >= u'0' && c <= u'9';
    bool fits = false;
    switch (slot.kind) {
    case TSlotKind::Literal:
        return false;
    case TSlotKind::Digit:
        fits = digit;
        break;
    case TSlotKind::DigitOrSign:
        fits = digit || c == u'+' || c == u'-';
        break;
    case TSlotKind::Letter:
        fits = c.isLetter();
        break;
    case TSlotKind::AlphaNumeric:
        fits = c.isLetterOrNumber();
        break;
    case TSlotKind::AnyChar:
        fits = c.isPrint();
        break;
    }
    if (fits && slot.letterCase == TCase::Upper)
        c = c.toUpper();
    else if (fits && slot.letterCase == TCase::Lower)
        c = c.toLower();
    return fits;
}

QString TEditMaskEh::Apply(const QString& text) const {
    if (IsEmpty())
        return text;
    const int length = Length();
    QString source;
    if (saveLiterals_) {
        source = text.left(length);
        if (source.size() < length)
            source = rightAligned_ ? source.rightJustified(length, blank_)
                                   : source.leftJustified(length, blank_);
    } else {
        // The text holds only the characters of the editable positions.
        const int editable =
            static_cast<int>(std::count_if(slots_.begin(), slots_.end(), [](const TSlot& s) {
                return s.kind != TSlotKind::Literal;
            }));
        QString chars = text.left(editable);
        chars = rightAligned_ ? chars.rightJustified(editable, blank_)
                              : chars.leftJustified(editable, blank_);
        qsizetype next = 0;
        for (int i = 0; i < length; ++i)
            source += IsLiteral(i) ? LiteralAt(i) : chars[next++];
    }
    QString shown(length, blank_);
    for (int i = 0; i < length; ++i) {
        if (IsLiteral(i)) {
            shown[i] = LiteralAt(i);
            continue;
        }
        QChar c = source[i];
        if (c != blank_ && Fits(i, c))
            shown[i] = c;
    }
    return shown;
}

int TEditMaskEh::NextEditable(int from) const {
    int i = std::max(from, 0);
    while (i < Length() && IsLiteral(i))
        ++i;
    return i;
}

int TEditMaskEh::PreviousEditable(int from) const {
    int i = std::min(from, Length() - 1);
    while (i >= 0 && IsLiteral(i))
        --i;
    return i;
}

void TEditMaskEh::BlankSelection(TMaskedTextEh& state) const {
    const int end = std::min(state.selStart + state.selLength, static_cast<int>(state.text.size()));
    for (int i = std::max(state.selStart, 0); i < end; ++i)
        if (!IsLiteral(i))
            state.text[i] = blank_;
    state.selLength = 0;
}

bool TEditMaskEh::TypeChar(TMaskedTextEh& state, QChar c) const {
    if (IsEmpty()) {
        state.text.replace(state.selStart, state.selLength, QString(c));
        ++state.selStart;
        state.selLength = 0;
        return true;
    }
    const int pos = NextEditable(state.selStart);
    QChar fitted = c;
    if (Fits(pos, fitted)) {
        BlankSelection(state);
        state.text[pos] = fitted;
        state.selStart = pos + 1;
        return true;
    }
    // A literal typed before the next literal of the same character jumps
    // over it to the position after it (the separator moves to the next element).
    for (int i = state.selStart; i < Length(); ++i) {
        if (IsLiteral(i) && LiteralAt(i) == c) {
            state.selStart = i + 1;
            state.selLength = 0;
            return true;
        }
    }
    return false;
}

void TEditMaskEh::Backspace(TMaskedTextEh& state) const {
    if (state.selLength > 0) {
        BlankSelection(state);
        return;
    }
    if (IsEmpty()) {
        if (state.selStart > 0)
            state.text.remove(--state.selStart, 1);
        return;
    }
    const int pos = PreviousEditable(state.selStart - 1);
    if (pos < 0)
        return;
    state.text[pos] = blank_;
    state.selStart = pos;
}

void TEditMaskEh::Delete(TMaskedTextEh& state) const {
    if (state.selLength > 0) {
        BlankSelection(state);
        return;
    }
    if (IsEmpty()) {
        state.text.remove(state.selStart, 1);
        return;
    }
    const int pos = NextEditable(state.selStart);
    if (pos >= Length())
        return;
    state.text[pos] = blank_;
    state.selStart = pos;
}

void TEditMaskEh::MoveLeft(TMaskedTextEh& state) const {
    const int pos = PreviousEditable(state.selStart - 1);
    state.selStart = pos < 0 ? std::min(state.selStart, NextEditable(0)) : pos;
    state.selLength = 0;
}

void TEditMaskEh::MoveRight(TMaskedTextEh& state) const {
    const int last = state.selLength > 0 ? state.selStart + state.selLength - 1 : state.selStart;
    state.selStart = std::min(NextEditable(last + 1), Length());
    state.selLength = 0;
}
