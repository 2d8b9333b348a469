#include "controls/timeedit/datetime_edit_stepping.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct StepCase {
    const char* pattern;
    const char* text;
    int selStart;
    bool up;
    const char* stepped; // null: nothing happens
    int selectedStart;
    int selectedLength;
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.pattern << " \"" << c.text << "\" at " << c.selStart << (c.up ? " up" : " down");
}

class Stepping : public testing::TestWithParam<StepCase> {};

TEST_P(Stepping, StepsTheElementUnderTheCaretWithWrapAround) {
    const StepCase& c = GetParam();
    const auto result = StepDateTimeElement(
        QString::fromLatin1(c.text), QString::fromLatin1(c.pattern), c.selStart, c.up, u'/', u':');
    if (!c.stepped) {
        EXPECT_FALSE(result.has_value());
        return;
    }
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->text, QString::fromLatin1(c.stepped));
    EXPECT_EQ(result->selStart, c.selectedStart);
    EXPECT_EQ(result->selLength, c.selectedLength);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Stepping,
    testing::Values(StepCase{"HH:NN:SS", "23:10:10", 0, true, "00:10:10", 0, 2},
                    StepCase{"HH:NN:SS", "00:10:10", 1, false, "23:10:10", 0, 2},
                    StepCase{"HH:NN:SS", "10:00:10", 3, false, "10:59:10", 3, 2},
                    StepCase{"HH:NN:SS", "10:59:10", 4, true, "10:00:10", 3, 2},
                    StepCase{"HH:NN:SS", "  :  :  ", 0, true, "01:  :  ", 0, 2},
                    StepCase{"HH:NN:SS", "  :  :  ", 6, false, "  :  :59", 6, 2},
                    // The caret on a separator steps the element to its right.
                    StepCase{"HH:NN:SS", "10:20:30", 2, true, "10:21:30", 3, 2},
                    StepCase{"HH:NN:SS", "10:20:30", 5, false, "10:20:29", 6, 2},
                    // The caret at the end is on the last character.
                    StepCase{"HH:NN:SS", "10:20:30", 8, true, "10:20:31", 6, 2},
                    StepCase{"HH:NN:SS", "1x:20:30", 0, true, "01:20:30", 0, 2},
                    StepCase{"HH:NN:SS", "99:20:30", 0, true, "00:20:30", 0, 2},
                    StepCase{"DD/MM/YYYY", "31/02/2024", 0, true, "01/02/2024", 0, 2},
                    StepCase{"DD/MM/YYYY", "01/01/2024", 3, false, "01/12/2024", 3, 2},
                    StepCase{"DD/MM/YYYY", "01/01/9999", 7, true, "01/01/0001", 6, 4},
                    StepCase{"DD/MM/YYYY", "01/01/    ", 6, false, "01/01/9999", 6, 4},
                    StepCase{"DD/MM/YY", "01/01/99", 6, true, "01/01/00", 6, 2},
                    // A blank of the pattern is no element; nor is a separator at the end.
                    StepCase{"DD/MM/YYYY HH:NN", "01/01/2024 10:20", 10, true, nullptr, 0, 0},
                    StepCase{"HH:NN:", "10:20:", 5, true, nullptr, 0, 0}));

TEST(Stepping, TheUsersOwnSeparatorsAndThePatternsStandInsAreSkipped) {
    // The box shows 10.20.30 under a time separator of '.'; the pattern keeps ':'.
    const auto result = StepDateTimeElement(QStringLiteral("10.20.30"), QStringLiteral("HH:NN:SS"),
                                            2, true, u'-', u'.');
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->text, "10.21.30");
}

} // namespace
