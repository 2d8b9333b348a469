#include "controls/timeedit/datetime_edit_format.h"
#include "platform/core/exception.h"
#include "platform/system/datetime.h"
#include "platform/system/format_settings.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

using E = TDateTimeElementEh;

struct KindCase {
    TDateTimeKindEh kind;
    const char* shortDate;
    const char* pattern;
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << "kind " << static_cast<int>(c.kind) << " " << c.shortDate;
}

class PatternForKind : public testing::TestWithParam<KindCase> {};

TEST_P(PatternForKind, FollowsTheShortDateOrderAndTheYearDigits) {
    const KindCase& c = GetParam();
    const QString shortDate = QString::fromLatin1(c.shortDate);
    const bool fourDigits = shortDate.toUpper().contains(QLatin1String("YYY"));
    EXPECT_EQ(DateTimePatternForKind(c.kind, shortDate, fourDigits, QStringLiteral("custom")),
              QString::fromLatin1(c.pattern));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PatternForKind,
    testing::Values(KindCase{TDateTimeKindEh::dtkTimeEh, "dd/MM/yyyy", "HH:NN:SS"},
                    KindCase{TDateTimeKindEh::dtkTimeEh, "M/d/yy", "HH:NN:SS"},
                    KindCase{TDateTimeKindEh::dtkDateEh, "dd/MM/yyyy", "DD/MM/YYYY"},
                    KindCase{TDateTimeKindEh::dtkDateEh, "M/d/yy", "MM/DD/YY"},
                    KindCase{TDateTimeKindEh::dtkDateEh, "yyyy-MM-dd", "YYYY/MM/DD"},
                    KindCase{TDateTimeKindEh::dtkDateEh, "yyy.M.d", "YYYY/MM/DD"},
                    KindCase{TDateTimeKindEh::dtkDateEh, "'W'", "DD/MM/YY"},
                    KindCase{TDateTimeKindEh::dtkDateTimeEh, "d.M.yyyy", "DD/MM/YYYY HH:NN:SS"},
                    KindCase{TDateTimeKindEh::dtkCustomEh, "d.M.yyyy", "custom"}));

TEST(BuildDateTimeMask, TheTimePatternGivesEightPositionsAndThreeElements) {
    const TDateTimeMaskEh built = BuildDateTimeMask(QStringLiteral("HH:NN:SS"));
    EXPECT_EQ(built.mask, "!99:99:99;1; ");
    const TDateTimeLayoutEh& l = built.layout;
    EXPECT_TRUE(l.Present(E::Hour));
    EXPECT_EQ(l[E::Hour].start, 1);
    EXPECT_EQ(l[E::Minute].start, 4);
    EXPECT_EQ(l[E::Second].start, 7);
    EXPECT_EQ(l[E::Second].length, 2);
    for (E absent : {E::Year, E::Month, E::Day}) {
        EXPECT_FALSE(l.Present(absent));
        EXPECT_EQ(l[absent].start, -1);
        EXPECT_EQ(l[absent].length, -1);
    }
}

struct MaskCase {
    const char* pattern;
    const char* mask;
    int yearStart, yearLength, dayStart, hourStart;
};

void PrintTo(const MaskCase& c, std::ostream* os) {
    *os << '"' << c.pattern << '"';
}

class MaskFromPattern : public testing::TestWithParam<MaskCase> {};

TEST_P(MaskFromPattern, ControlCharactersAreEscapedAndPositionsCounted) {
    const MaskCase& c = GetParam();
    const TDateTimeMaskEh built = BuildDateTimeMask(QString::fromUtf8(c.pattern));
    EXPECT_EQ(built.mask, QString::fromUtf8(c.mask));
    EXPECT_EQ(built.layout[E::Year].start, c.yearStart);
    EXPECT_EQ(built.layout[E::Year].length, c.yearLength);
    EXPECT_EQ(built.layout[E::Day].start, c.dayStart);
    EXPECT_EQ(built.layout[E::Hour].start, c.hourStart);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, MaskFromPattern,
    testing::Values(MaskCase{"DD/MM/YYYY HH:NN:SS", "!99/99/9999 99:99:99;1; ", 7, 4, 1, 12},
                    MaskCase{"yy/mm/dd", "!99/99/99;1; ", 1, 2, 7, -1},
                    // Mask characters of the pattern's literals show as themselves.
                    MaskCase{"HH!NN#SS", "!99\\!99\\#99;1; ", -1, -1, -1, 1},
                    MaskCase{"DD;MM<YY", "!99\\;99\\<99;1; ", 7, 2, 1, -1},
                    MaskCase{"HHaNNcSSl", "!99\\a99\\c99\\l;1; ", -1, -1, -1, 1},
                    // An escaped character is bare behind the pattern's own backslash and
                    // takes one position; an escaped element letter is a literal.
                    MaskCase{"\\HHH\\0", "!\\H99\\0;1; ", -1, -1, -1, 2},
                    MaskCase{"HH' 'NN", "!99' '99;1; ", -1, -1, -1, 1},
                    // A trailing backslash escapes nothing.
                    MaskCase{"HH\\", "!99;1; ", -1, -1, -1, 1}));

struct BadPatternCase {
    const char* pattern;
    const char* message;
};

void PrintTo(const BadPatternCase& c, std::ostream* os) {
    *os << '"' << c.pattern << '"';
}

class BadPattern : public testing::TestWithParam<BadPatternCase> {};

TEST_P(BadPattern, RaisesTheMessageThatNamesTheElement) {
    const BadPatternCase& c = GetParam();
    try {
        BuildDateTimeMask(QString::fromLatin1(c.pattern));
        FAIL() << "no exception for " << c.pattern;
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QString::fromLatin1(c.message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Errors, BadPattern,
    testing::Values(BadPatternCase{"H:NN:SS", "Invalid datetime format element length: \"H\""},
                    BadPatternCase{"DD/MM/YYY", "Invalid datetime format element length: \"Y\""},
                    BadPatternCase{"D/MM/YY", "Invalid datetime format element length: \"D\""},
                    BadPatternCase{"HH:NN:HH", "Duplicating datetime format element: \"H\""},
                    BadPatternCase{"HH:nn:NN", "Duplicating datetime format element: \"N\""},
                    BadPatternCase{"HH:NNN",
                                   "Element in EditFormat: \"HH:NNN\" is too long. Pos: 6"},
                    BadPatternCase{"YYYYY", "Element in EditFormat: \"YYYYY\" is too long. Pos: 5"},
                    BadPatternCase{"HhH", "Element in EditFormat: \"HhH\" is too long. Pos: 3"}));

TEST(DisplayFormatFromPattern, QuotesEveryLiteralButTheSeparators) {
    EXPECT_EQ(DisplayFormatFromPattern(QStringLiteral("HH:NN:SS")), "HH:NN:SS");
    EXPECT_EQ(DisplayFormatFromPattern(QStringLiteral("dd/mm/yyyy hh:nn")), "DD/MM/YYYY' 'HH:NN");
    // The formatter prints a quote, a letter and an escaped element letter as themselves.
    TFormatSettings settings;
    settings.TimeSeparator = u'.';
    EXPECT_EQ(FormatDateTime(DisplayFormatFromPattern(QStringLiteral("HH'x\\N:SS")),
                             EncodeTime(9, 5, 7, 0), settings),
              "09'xN.07");
}

TEST(PositionTemplateFromPattern, BlanksEverythingButElementsAndSeparators) {
    EXPECT_EQ(PositionTemplateFromPattern(QStringLiteral("HH:NN:SS")), "HH:NN:SS");
    EXPECT_EQ(PositionTemplateFromPattern(QStringLiteral("DD.MM/yy \\H")), "DD MM/yy  ");
}

} // namespace
