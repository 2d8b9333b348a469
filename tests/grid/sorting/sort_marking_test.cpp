// The sort marking rules on the titles: markers, sort indexes and the grid's
// SortColumnList kept in step with several marked columns and with one, in
// bulk updates, when the multiple marking is switched off, and after loading.

#include "tests/grid/sorting/sort_fixture.h"

class SortMarkingTest : public SortFixture {
protected:
    enum class TOp { Set, Advance, AdvanceKeeping };
    struct TStep {
        const char* column;
        TOp op;
        TSortMarkerEh marker;
        const char* marking;
    };
    void Run(const std::vector<TStep>& steps) {
        for (const TStep& step : steps) {
            TColumnTitleEh& title = Column(QString::fromLatin1(step.column)).Title();
            SCOPED_TRACE(step.marking);
            switch (step.op) {
            case TOp::Set:
                title.SetSortMarker(step.marker);
                break;
            case TOp::Advance:
                title.AdvanceSortMarker(false);
                break;
            case TOp::AdvanceKeeping:
                title.AdvanceSortMarker(true);
                break;
            }
            EXPECT_EQ(Marking(), QString::fromLatin1(step.marking));
        }
    }
    void SetMultiSortMarking(bool on) {
        TDBGridEhOptions options = grid_->OptionsEh();
        if (on)
            options.Include(TDBGridEhOption::dghMultiSortMarking);
        else
            options.Exclude(TDBGridEhOption::dghMultiSortMarking);
        grid_->SetOptionsEh(options);
    }
};

TEST_F(SortMarkingTest, SeveralColumnsAreNumberedInTheOrderTheyWereMarked) {
    Run({
        {"CATEG", TOp::Set, smDownEh, "CATEG asc 1"},
        {"CODIGO", TOp::Set, smUpEh, "CATEG asc 1, CODIGO desc 2"},
        {"PRECIO", TOp::Set, smDownEh, "CATEG asc 1, CODIGO desc 2, PRECIO asc 3"},
        // Between ascending and descending a column keeps its place.
        {"CATEG", TOp::Set, smUpEh, "CATEG desc 1, CODIGO desc 2, PRECIO asc 3"},
        {"CODIGO", TOp::Set, smNoneEh, "CATEG desc 1, PRECIO asc 2"},
        {"CODIGO", TOp::AdvanceKeeping, smNoneEh, "CATEG desc 1, PRECIO asc 2, CODIGO asc 3"},
        {"CATEG", TOp::AdvanceKeeping, smNoneEh, "PRECIO asc 1, CODIGO asc 2"},
        {"CODIGO", TOp::Advance, smNoneEh, "CODIGO desc 1"},
        {"CODIGO", TOp::Advance, smNoneEh, "CODIGO asc 1"},
        {"CODIGO", TOp::Set, smNoneEh, ""},
    });
    // No marking reaches the dataset by itself.
    EXPECT_EQ(cds_->IndexName(), QString());
}

TEST_F(SortMarkingTest, WithoutMultipleMarkingOneColumnIsMarkedAtMost) {
    SetMultiSortMarking(false);
    Run({
        {"CATEG", TOp::Set, smDownEh, "CATEG asc 1"},
        {"CODIGO", TOp::Set, smUpEh, "CODIGO desc 1"},
        {"PRECIO", TOp::AdvanceKeeping, smNoneEh, "PRECIO asc 1"},
        {"PRECIO", TOp::AdvanceKeeping, smNoneEh, "PRECIO desc 1"},
        {"PRECIO", TOp::AdvanceKeeping, smNoneEh, ""},
        {"UNIDAD", TOp::Set, smUpEh, "UNIDAD desc 1"},
        {"UNIDAD", TOp::Set, smNoneEh, ""},
    });
}

TEST_F(SortMarkingTest, SwitchingMultipleMarkingOffKeepsTheFirstSortedColumn) {
    Run({
        {"CATEG", TOp::Set, smUpEh, "CATEG desc 1"},
        {"CODIGO", TOp::Set, smDownEh, "CATEG desc 1, CODIGO asc 2"},
        {"PRECIO", TOp::Set, smDownEh, "CATEG desc 1, CODIGO asc 2, PRECIO asc 3"},
    });
    SetMultiSortMarking(false);
    EXPECT_EQ(Marking(), QStringLiteral("CATEG desc 1"));
    // Switched on again, nothing comes back.
    SetMultiSortMarking(true);
    EXPECT_EQ(Marking(), QStringLiteral("CATEG desc 1"));
}

TEST_F(SortMarkingTest, ABulkUpdateStoresOnlyTheMarker) {
    Column(QStringLiteral("CATEG")).Title().SetSortMarker(smDownEh);
    grid_->Columns().BeginUpdate();
    Column(QStringLiteral("PRECIO")).Title().SetSortMarker(smUpEh);
    Column(QStringLiteral("CATEG")).Title().SetSortMarker(smNoneEh);
    grid_->Columns().EndUpdate();
    EXPECT_EQ(Column(QStringLiteral("PRECIO")).Title().SortMarker(), smUpEh);
    EXPECT_EQ(Column(QStringLiteral("PRECIO")).Title().SortIndex(), 0);
    EXPECT_EQ(Column(QStringLiteral("CATEG")).Title().SortMarker(), smNoneEh);
    EXPECT_EQ(Column(QStringLiteral("CATEG")).Title().SortIndex(), 1);
    EXPECT_EQ(grid_->SortColumnList(), std::vector<TColumnEh*>{&Column(QStringLiteral("CATEG"))});
}

TEST_F(SortMarkingTest, LoadingRebuildsTheListFromTheStoredIndexes) {
    QString description = ResultsGridDescription();
    auto mark = [&](const char* field, const char* properties) {
        const QString line =
            QStringLiteral("        FieldName = \"%1\"\n").arg(QLatin1String(field));
        ASSERT_TRUE(description.contains(line));
        description.replace(line, line + QString::fromLatin1(properties));
    };
    mark("PRECIO", "        Title.SortMarker = smDownEh\n        Title.SortIndex = 5\n");
    mark("CATEG", "        Title.SortMarker = smUpEh\n        Title.SortIndex = 2\n");
    mark("UNIDAD", "        Title.SortMarker = smDownEh\n");
    mark("CODIGO", "        Title.SortIndex = 1\n");
    Rebuild();
    Build(description);
    OpenArticles();
    EXPECT_EQ(Marking(), QStringLiteral("CATEG desc 1, PRECIO asc 2, UNIDAD asc 3"));
    EXPECT_EQ(Column(QStringLiteral("CODIGO")).Title().SortIndex(), 0);
    // Loading marks; it does not sort.
    EXPECT_EQ(cds_->IndexName(), QString());
    EXPECT_EQ(Codes(), ArrivalCodes());
}
