// How the grid's text search compares a cell's text with the searched text:
// the three kinds of match, with and without the letter case, and the upper
// case of the 8-bit text.

#include "grid/search/ansi_upper_case_eh.h"
#include "grid/search/text_match_eh.h"

#include <gtest/gtest.h>

namespace {

using M = TGridTextMatchEh;

struct MatchCase {
    const char16_t* text;
    M match;
    bool caseInsensitive;
    const char16_t* cell;
    bool matches;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << '"' << QString::fromUtf16(c.text).toStdString() << "\" in \""
        << QString::fromUtf16(c.cell).toStdString() << "\" kind " << static_cast<int>(c.match)
        << (c.caseInsensitive ? " any case" : " exact");
}

class TextMatchTest : public testing::TestWithParam<MatchCase> {};

TEST_P(TextMatchTest, ComparesAsItsKindSays) {
    const MatchCase& c = GetParam();
    const TTextMatchEh match(QString::fromUtf16(c.text), c.match, c.caseInsensitive);
    EXPECT_EQ(match.Matches(QString::fromUtf16(c.cell)), c.matches);
}

INSTANTIATE_TEST_SUITE_P(Kinds, TextMatchTest,
                         testing::Values(
                             // Any part: the text anywhere in the cell, the letter case as asked.
                             MatchCase{u"abc", M::AnyPart, true, u"xABCx", true},
                             MatchCase{u"abc", M::AnyPart, false, u"xABCx", false},
                             MatchCase{u"ABC", M::AnyPart, false, u"xABCx", true},
                             MatchCase{u"bcx", M::AnyPart, true, u"xABCx", true},
                             MatchCase{u"abcxy", M::AnyPart, true, u"xABCx", false},
                             MatchCase{u"aab", M::AnyPart, true, u"aaab", true},
                             // An empty text is in no cell, not even an empty one.
                             MatchCase{u"", M::AnyPart, true, u"x", false},
                             MatchCase{u"", M::AnyPart, true, u"", false},
                             // Whole field: equal texts only; an empty text matches an empty cell.
                             MatchCase{u"abc", M::WholeField, true, u"ABC", true},
                             MatchCase{u"abc", M::WholeField, false, u"ABC", false},
                             MatchCase{u"abc", M::WholeField, true, u"ABCD", false},
                             MatchCase{u"", M::WholeField, true, u"", true},
                             MatchCase{u"", M::WholeField, true, u"x", false},
                             // Beginning of field: the cell's first characters; an empty text
                             // starts every cell.
                             MatchCase{u"ab", M::BeginningOfField, true, u"ABC", true},
                             MatchCase{u"bc", M::BeginningOfField, true, u"ABC", false},
                             MatchCase{u"abcd", M::BeginningOfField, true, u"ABC", false},
                             MatchCase{u"", M::BeginningOfField, true, u"ABC", true},
                             MatchCase{u"", M::BeginningOfField, true, u"", true},
                             // Letters of the code page beyond ASCII fold too.
                             MatchCase{u"ñandú", M::AnyPart, true, u"EL ÑANDÚ", true},
                             MatchCase{u"ñandú", M::AnyPart, false, u"EL ÑANDÚ", false},
                             MatchCase{u"šœžÿ", M::WholeField, true, u"ŠŒŽŸ", true},
                             // ß has no one-letter upper case in the code page: it stays itself.
                             MatchCase{u"straße", M::WholeField, true, u"STRASSE", false},
                             MatchCase{u"straße", M::WholeField, true, u"STRAßE", true},
                             // Letters outside the code page keep their case.
                             MatchCase{u"ω", M::WholeField, true, u"Ω", false}));

TEST(AnsiUpperCase, FollowsTheCodePage) {
    const TAnsiUpperCaseEh upper(QLocale(QStringLiteral("es_ES")));
    EXPECT_EQ(upper.Upper(QStringLiteral("año €5 çé ÿ µ ß")), QStringLiteral("AÑO €5 ÇÉ Ÿ µ ß"));
}

} // namespace
