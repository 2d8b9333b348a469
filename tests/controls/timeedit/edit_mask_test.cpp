#include "controls/timeedit/edit_mask_eh.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct ApplyCase {
    const char* mask;
    const char* text;
    const char* shown;
};

void PrintTo(const ApplyCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class MaskApply : public testing::TestWithParam<ApplyCase> {};

TEST_P(MaskApply, ShowsATextThroughTheMask) {
    const ApplyCase& c = GetParam();
    const TEditMaskEh mask(QString::fromLatin1(c.mask), u'-', u'.');
    EXPECT_EQ(mask.Apply(QString::fromLatin1(c.text)), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Cases, MaskApply,
                         testing::Values(ApplyCase{"!99:99:99;1; ", "", "  .  .  "},
                                         ApplyCase{"!99:99:99;1; ", "09:05:00", "09.05.00"},
                                         ApplyCase{"!99:99:99;1; ", "9:05:00", " 9.05.00"},
                                         ApplyCase{"!99:99:99;1; ", "09:05:00 p.m.", "09.05.00"},
                                         ApplyCase{"!99:99:99;1; ", "ab:0c:1 ", "  .0 .1 "},
                                         ApplyCase{"99/99;1;_", "1", "1_-__"},
                                         ApplyCase{"99/99;0;_", "1234", "12-34"},
                                         ApplyCase{"\\H99>L;1; ", "x12b", "H12B"}));

TEST(MaskEditing, TypingOverwritesAndTheSeparatorJumpsToTheNextElement) {
    const TEditMaskEh mask(QStringLiteral("!99:99:99;1; "), u'/', u':');
    TMaskedTextEh state{mask.BlankText(), 0, 8};
    for (QChar c : QStringLiteral("25:6")) {
        ASSERT_TRUE(mask.TypeChar(state, c)) << c.toLatin1();
    }
    EXPECT_EQ(state.text, "25:6 :  ");
    EXPECT_EQ(state.selStart, 4);
    // In the seconds there is no separator left to jump over.
    state.selStart = 6;
    EXPECT_FALSE(mask.TypeChar(state, u':'));
    EXPECT_FALSE(mask.TypeChar(state, u'x'));
    EXPECT_EQ(state.text, "25:6 :  ");
}

} // namespace
