#include "grid/search/text_match_eh.h"

#include "grid/search/ansi_upper_case_eh.h"

TTextMatchEh::TTextMatchEh(const QString& text, TGridTextMatchEh match, bool caseInsensitive)
    : text_(text), match_(match) {
    if (caseInsensitive) {
        upper_ = &TAnsiUpperCaseEh::ForUser();
        text_ = upper_->Upper(text);
    }
}

bool TTextMatchEh::EqualAt(QStringView cell, qsizetype at) const {
    const char16_t* c = reinterpret_cast<const char16_t*>(cell.utf16()) + at;
    const char16_t* t = reinterpret_cast<const char16_t*>(text_.utf16());
    const qsizetype n = text_.size();
    if (!upper_) {
        for (qsizetype i = 0; i < n; ++i)
            if (c[i] != t[i])
                return false;
        return true;
    }
    for (qsizetype i = 0; i < n; ++i)
        if (upper_->Upper(c[i]) != t[i])
            return false;
    return true;
}

bool TTextMatchEh::Matches(QStringView cell) const {
    const qsizetype n = text_.size();
    switch (match_) {
    case TGridTextMatchEh::WholeField:
        return cell.size() == n && EqualAt(cell, 0);
    case TGridTextMatchEh::BeginningOfField:
        return cell.size() >= n && EqualAt(cell, 0);
    case TGridTextMatchEh::AnyPart:
        if (n == 0)
            return false;
        for (qsizetype at = 0; at + n <= cell.size(); ++at)
            if (EqualAt(cell, at))
                return true;
        return false;
    }
    return false;
}
