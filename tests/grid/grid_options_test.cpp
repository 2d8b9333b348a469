// The names a form description gives the grid's option sets: each name
// stands for the value of that name, and an unknown name is reported by
// itself.

#include "grid/grid_options_eh.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

// A value with its name as the compiler spells it, qualifier dropped.
#define NAMED(value)                                                                               \
    std::pair {                                                                                    \
        QStringLiteral(#value).section(QStringLiteral("::"), -1), value                            \
    }

// Every name of `table` reads as the value named so, and every value has one.
template <typename E>
void ExpectNamesOf(const QStringList& table, std::initializer_list<std::pair<QString, E>> values) {
    EXPECT_EQ(table.size(), static_cast<int>(values.size()));
    for (const auto& [name, value] : values) {
        QString unknown;
        const auto set = SetFromNames<E>({name.toLower()}, table, &unknown);
        ASSERT_TRUE(set) << unknown.toStdString();
        EXPECT_EQ(*set, TSetEh<E>{value}) << name.toStdString();
    }
}

} // namespace

TEST(GridOptionNames, EachNameStandsForTheValueOfThatName) {
    using O = TDBGridOption;
    ExpectNamesOf(GridOptionNames::Options(),
                  {NAMED(O::dgEditing), NAMED(O::dgAlwaysShowEditor), NAMED(O::dgTitles),
                   NAMED(O::dgIndicator), NAMED(O::dgColumnResize), NAMED(O::dgColLines),
                   NAMED(O::dgRowLines), NAMED(O::dgTabs), NAMED(O::dgRowSelect),
                   NAMED(O::dgAlwaysShowSelection), NAMED(O::dgConfirmDelete),
                   NAMED(O::dgCancelOnExit), NAMED(O::dgMultiSelect)});
    using H = TDBGridEhOption;
    ExpectNamesOf(GridOptionNames::OptionsEh(), {NAMED(H::dghFixed3D),
                                                 NAMED(H::dghFrozen3D),
                                                 NAMED(H::dghFooter3D),
                                                 NAMED(H::dghData3D),
                                                 NAMED(H::dghResizeWholeRightPart),
                                                 NAMED(H::dghHighlightFocus),
                                                 NAMED(H::dghClearSelection),
                                                 NAMED(H::dghFitRowHeightToText),
                                                 NAMED(H::dghAutoSortMarking),
                                                 NAMED(H::dghMultiSortMarking),
                                                 NAMED(H::dghEnterAsTab),
                                                 NAMED(H::dghTraceColSizing),
                                                 NAMED(H::dghIncSearch),
                                                 NAMED(H::dghPreferIncSearch),
                                                 NAMED(H::dghRowHighlight),
                                                 NAMED(H::dghDblClickOptimizeColWidth),
                                                 NAMED(H::dghDialogFind),
                                                 NAMED(H::dghRecordMoving),
                                                 NAMED(H::dghShowRecNo),
                                                 NAMED(H::dghHotTrack),
                                                 NAMED(H::dghExtendVertLines),
                                                 NAMED(H::dghColumnResize),
                                                 NAMED(H::dghColumnMove),
                                                 NAMED(H::dghAutoFitRowHeight)});
    using A = TDBGridEhAllowedOperation;
    ExpectNamesOf(GridOptionNames::AllowedOperations(),
                  {NAMED(A::alopInsertEh), NAMED(A::alopUpdateEh), NAMED(A::alopDeleteEh),
                   NAMED(A::alopAppendEh)});
    using S = TDBGridEhAllowedSelection;
    ExpectNamesOf(GridOptionNames::AllowedSelections(),
                  {NAMED(S::gstRecordBookmarks), NAMED(S::gstRectangle), NAMED(S::gstColumns),
                   NAMED(S::gstAll)});
    using E = TDBGridEhEditAction;
    ExpectNamesOf(GridOptionNames::EditActions(),
                  {NAMED(E::geaCutEh), NAMED(E::geaCopyEh), NAMED(E::geaPasteEh),
                   NAMED(E::geaDeleteEh), NAMED(E::geaSelectAllEh)});
    using I = TGridIndicatorOption;
    ExpectNamesOf(GridOptionNames::IndicatorOptions(),
                  {NAMED(I::gioShowRowIndicatorEh), NAMED(I::gioShowRecNoEh),
                   NAMED(I::gioShowRowselCheckboxesEh)});
    using V = TScrollBarVisibleModeEh;
    ExpectNamesOf(GridOptionNames::ScrollBarVisibleModes(),
                  {NAMED(V::sbAlwaysShowEh), NAMED(V::sbNeverShowEh), NAMED(V::sbAutoShowEh)});
}

TEST(GridOptionNames, AnUnknownNameIsReported) {
    QString unknown;
    EXPECT_FALSE(SetFromNames<TDBGridOption>({"dgEditing", "dgNoSuch"}, GridOptionNames::Options(),
                                             &unknown));
    EXPECT_EQ(unknown, QStringLiteral("dgNoSuch"));
    EXPECT_EQ(SetFromNames<TDBGridOption>({}, GridOptionNames::Options(), nullptr),
              TDBGridOptions{});
}
