// The names a form description gives the grid's option sets: each name is
// the value of its place, and an unknown name is reported by itself.

#include "grid/grid_options_eh.h"

#include <gtest/gtest.h>

namespace {

template <typename E> void EachNameIsItsValue(const QStringList& names, E last) {
    ASSERT_EQ(names.size(), static_cast<int>(last) + 1);
    for (int i = 0; i < names.size(); ++i) {
        const auto set = SetFromNames<E>({names[i].toLower()}, names, nullptr);
        ASSERT_TRUE(set) << names[i].toStdString();
        EXPECT_EQ(*set, TSetEh<E>{static_cast<E>(i)}) << names[i].toStdString();
    }
}

} // namespace

TEST(GridOptionNames, EachNameIsTheValueOfItsPlace) {
    EachNameIsItsValue(GridOptionNames::Options(), TDBGridOption::dgMultiSelect);
    EachNameIsItsValue(GridOptionNames::OptionsEh(), TDBGridEhOption::dghAutoFitRowHeight);
    EachNameIsItsValue(GridOptionNames::AllowedOperations(),
                       TDBGridEhAllowedOperation::alopAppendEh);
    EachNameIsItsValue(GridOptionNames::AllowedSelections(), TDBGridEhAllowedSelection::gstAll);
    EachNameIsItsValue(GridOptionNames::EditActions(), TDBGridEhEditAction::geaSelectAllEh);
    EachNameIsItsValue(GridOptionNames::IndicatorOptions(),
                       TGridIndicatorOption::gioShowRowselCheckboxesEh);
}

TEST(GridOptionNames, AnUnknownNameIsReported) {
    QString unknown;
    EXPECT_FALSE(SetFromNames<TDBGridOption>({"dgEditing", "dgNoSuch"}, GridOptionNames::Options(),
                                             &unknown));
    EXPECT_EQ(unknown, QStringLiteral("dgNoSuch"));
    EXPECT_EQ(SetFromNames<TDBGridOption>({}, GridOptionNames::Options(), nullptr),
              TDBGridOptions{});
}
