#pragma once
// How a cell's text is compared with a searched text: the searched text
// anywhere in it, the whole text, or its beginning; exactly, or both upper-
// cased as the 8-bit text of the user's locale has it.

#include <QString>

class TAnsiUpperCaseEh;

enum class TGridTextMatchEh {
    AnyPart,          // the searched text occurs in the cell's text (never an empty one)
    WholeField,       // the two are equal
    BeginningOfField, // the cell's text starts with it (an empty one starts every text)
};

class TTextMatchEh {
public:
    TTextMatchEh(const QString& text, TGridTextMatchEh match, bool caseInsensitive);
    bool Matches(QStringView cell) const;

private:
    bool EqualAt(QStringView cell, qsizetype at) const;

    QString text_; // upper-cased once when the case does not count
    TGridTextMatchEh match_;
    const TAnsiUpperCaseEh* upper_ = nullptr; // null: exact comparison
};
