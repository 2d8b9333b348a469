#pragma once
// Upper case as the program's 8-bit text has it: a character of the
// Windows-1252 code page takes the upper-case form the user's locale gives
// it when that form is one character of the code page too (ÿ becomes Ÿ, é
// becomes É, ß stays ß); characters outside the code page stay as they are.

#include <QLocale>
#include <QString>
#include <array>
#include <utility>

class TAnsiUpperCaseEh {
public:
    explicit TAnsiUpperCaseEh(const QLocale& locale);
    // The table for the user's locale (the system locale), made again when
    // that locale has changed since the last call.
    static const TAnsiUpperCaseEh& ForUser();

    char16_t Upper(char16_t c) const { return c < latin_.size() ? latin_[c] : UpperAbove(c); }
    QString Upper(QStringView text) const;
    const QString& LocaleName() const { return localeName_; }

private:
    char16_t UpperAbove(char16_t c) const;

    QString localeName_;
    // By character code up to U+00FF.
    std::array<char16_t, 256> latin_{};
    // The code page's characters above U+00FF (its bytes 0x80 to 0x9F), with
    // their upper-case forms.
    std::array<std::pair<char16_t, char16_t>, 32> above_{};
    size_t aboveCount_ = 0;
};
