#pragma once
// An edit mask ("!99:99:99;1; "): which positions of the text take which
// characters, which are literals, and the editing operations of a masked box
// (typing that overwrites, Backspace and Delete that blank, caret moves that
// skip literals). Pure text logic; the box applies the results.

#include <QChar>
#include <QString>
#include <vector>

// The text of a box with its selection; a caret alone is a selection of length 0.
struct TMaskedTextEh {
    QString text;
    int selStart = 0;
    int selLength = 0;
};

class TEditMaskEh {
public:
    // An empty mask: every position takes any character.
    TEditMaskEh() = default;
    // ':' in the mask stands for `timeSeparator`, '/' for `dateSeparator`.
    TEditMaskEh(const QString& mask, QChar dateSeparator, QChar timeSeparator);

    bool IsEmpty() const { return slots_.empty(); }
    int Length() const { return static_cast<int>(slots_.size()); }
    bool IsLiteral(int index) const;
    // The character a literal position shows.
    QChar LiteralAt(int index) const;
    QChar BlankChar() const { return blank_; }
    // The text of an empty box: literals and blanks.
    QString BlankText() const;
    // A text shown through the mask: cut to the mask's length, right-aligned
    // when shorter and the mask starts with '!', literals put in place and
    // characters that do not fit their position blanked.
    QString Apply(const QString& text) const;

    // The operations return false when the character or key is refused (the
    // box beeps then); the state is unchanged on a refusal.
    bool TypeChar(TMaskedTextEh& state, QChar c) const;
    void Backspace(TMaskedTextEh& state) const;
    void Delete(TMaskedTextEh& state) const;
    // Left and Right without modifiers: to the editable position before the
    // selection's first character, or after its last one.
    void MoveLeft(TMaskedTextEh& state) const;
    void MoveRight(TMaskedTextEh& state) const;

private:
    enum class TSlotKind { Literal, Digit, DigitOrSign, Letter, AlphaNumeric, AnyChar };
    enum class TCase { Keep, Upper, Lower };
    struct TSlot {
        TSlotKind kind = TSlotKind::AnyChar;
        QChar literal;
        TCase letterCase = TCase::Keep;
    };

    bool Fits(int index, QChar& c) const;
    void BlankSelection(TMaskedTextEh& state) const;
    int NextEditable(int from) const;
    int PreviousEditable(int from) const;

    std::vector<TSlot> slots_;
    QChar blank_ = u' ';
    bool rightAligned_ = false;
    bool saveLiterals_ = true;
};
