// The width fitting and the weight rebalancing as plain arithmetic, on the
// results window's six columns (CODIGO, DESCRIPCION, UNIDAD, CATEG, SUBCATEG,
// PRECIO) whose weights are their unfitted widths with a "0" 6 pixels wide:
// 6 × display width + 4.

#include "grid/layout/column_fitting.h"
#include "grid/layout/mul_div.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {

const std::vector<int> kArticleWeights{124, 364, 52, 64, 64, 100};
constexpr int kIndicatorAndLines = 11 + 6 + 1;

std::vector<TFitColumnEh> Columns(const std::vector<int>& weights) {
    std::vector<TFitColumnEh> columns;
    for (int w : weights)
        columns.push_back({w, w, w, 0, 0, true, true});
    return columns;
}

std::vector<int> Widths(const std::vector<TFitColumnEh>& columns) {
    std::vector<int> widths;
    for (const TFitColumnEh& c : columns)
        widths.push_back(c.width);
    return widths;
}

TFitAreaEh Area(int clientWidth) {
    TFitAreaEh area;
    area.clientWidth = clientWidth;
    area.indicatorWidth = 11;
    return area;
}

std::vector<int> Fit(std::vector<TFitColumnEh> columns, int clientWidth) {
    FitColumnWidths(columns, Area(clientWidth));
    return Widths(columns);
}

int Sum(const std::vector<int>& v) {
    return std::accumulate(v.begin(), v.end(), 0);
}

} // namespace

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(832, 124, 768), 134); // 134.33
    EXPECT_EQ(MulDiv(3, 1, 2), 2);         // 1.5
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(5, 1, 3), 2); // 1.67
    EXPECT_EQ(MulDiv(-8, 52, 768), -1);
    // The product is taken in 64 bits.
    EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);
}

TEST(FitColumnWidths, ResultsWindowWidths) {
    struct Case {
        int clientWidth;
        std::vector<int> widths;
    };
    const Case cases[] = {
        // The grid's client area without the scroll bar, then with it.
        {850, {134, 394, 56, 69, 69, 110}},
        {834, {132, 387, 55, 68, 68, 106}},
        // The remainder of the rounding, either way, goes to PRECIO alone.
        {600, {94, 276, 39, 49, 49, 75}},
        {300, {46, 134, 19, 24, 24, 35}},
        // Exactly the indicator and the lines, narrower, nothing at all.
        {18, {0, 0, 0, 0, 0, 0}},
        {10, {0, 0, 0, 0, 0, 0}},
        {0, {0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clientWidth);
        const std::vector<int> widths = Fit(Columns(kArticleWeights), c.clientWidth);
        EXPECT_EQ(widths, c.widths);
        if (c.clientWidth >= kIndicatorAndLines) {
            EXPECT_EQ(Sum(widths) + kIndicatorAndLines, c.clientWidth);
        }
    }
}

TEST(FitColumnWidths, NoWidthIsEverNegative) {
    for (int clientWidth = -5; clientWidth <= 60; ++clientWidth) {
        for (int width : Fit(Columns(kArticleWeights), clientWidth))
            ASSERT_GE(width, 0) << "client width " << clientWidth;
    }
}

TEST(FitColumnWidths, ResizingBackAndForthGivesTheSameWidths) {
    std::vector<TFitColumnEh> columns = Columns(kArticleWeights);
    FitColumnWidths(columns, Area(850));
    const std::vector<int> first = Widths(columns);
    for (int clientWidth : {10, 300, 1700, 834, 851, 0, 850}) {
        FitColumnWidths(columns, Area(clientWidth));
    }
    EXPECT_EQ(Widths(columns), first);
}

TEST(FitColumnWidths, ClampedColumnsAreFixedAndTheRestShareAgain) {
    // CODIGO may not be wider than 100, UNIDAD not narrower than 80.
    std::vector<TFitColumnEh> columns = Columns(kArticleWeights);
    columns[0].maxWidth = 100;
    columns[2].minWidth = 80;
    FitColumnWidths(columns, Area(850));
    const std::vector<int> widths = Widths(columns);
    EXPECT_EQ(widths[0], 100);
    EXPECT_EQ(widths[2], 80);
    EXPECT_EQ(Sum(widths), 832);
    // The other four keep the proportions of their weights among themselves.
    EXPECT_EQ(widths[1], MulDiv(832 - 180, 364, 592));
    EXPECT_EQ(widths[3], MulDiv(832 - 180, 64, 592));
}

TEST(FitColumnWidths, ColumnsOutsideTheFitKeepTheirWidthAndHiddenOnesTakeNoLine) {
    std::vector<TFitColumnEh> columns = Columns(kArticleWeights);
    columns[1].autoFit = false;
    columns[1].width = 200;
    columns[4].visible = false;
    columns[4].width = 33;
    FitColumnWidths(columns, Area(850));
    const std::vector<int> widths = Widths(columns);
    EXPECT_EQ(widths[1], 200);
    EXPECT_EQ(widths[4], 33);
    // Five visible columns: five lines and the indicator's.
    EXPECT_EQ(widths[0] + widths[2] + widths[3] + widths[5], 850 - 200 - 11 - 5 - 1);
}

TEST(FitColumnWidths, MinAutoFitWidthWidensTheSharedSpace) {
    std::vector<TFitColumnEh> columns = Columns(kArticleWeights);
    TFitAreaEh area = Area(300);
    area.minAutoFitWidth = 850;
    FitColumnWidths(columns, area);
    EXPECT_EQ(Widths(columns), (std::vector<int>{134, 394, 56, 69, 69, 110}));
}

TEST(RebalanceFitWeights, WideningCodigoNarrowsOnlyDescripcion) {
    std::vector<TFitColumnEh> columns = Columns(kArticleWeights);
    FitColumnWidths(columns, Area(850));
    const std::vector<int> before = Widths(columns);
    columns[0].cellWidth = before[0] + 30;
    for (size_t i = 1; i < columns.size(); ++i)
        columns[i].cellWidth = columns[i].width;
    RebalanceFitWeights(columns, true, false);
    EXPECT_EQ(columns[0].fitWeight, MulDiv(124, 164, 134));
    EXPECT_EQ(columns[0].fitWeight + columns[1].fitWeight, 124 + 364);
    FitColumnWidths(columns, Area(850));
    const std::vector<int> after = Widths(columns);
    EXPECT_NEAR(after[0], before[0] + 30, 1);
    EXPECT_NEAR(after[1], before[1] - 30, 1);
    for (size_t i = 2; i < 5; ++i)
        EXPECT_EQ(after[i], before[i]) << i;
    // PRECIO only takes the rounding remainder, at most one pixel.
    EXPECT_NEAR(after[5], before[5], 1);
    EXPECT_EQ(Sum(after), 832);
}

TEST(RebalanceFitWeights, WideningPrecioRescalesAllColumns) {
    std::vector<TFitColumnEh> columns = Columns(kArticleWeights);
    FitColumnWidths(columns, Area(850));
    const std::vector<int> before = Widths(columns);
    for (TFitColumnEh& c : columns)
        c.cellWidth = c.width;
    columns[5].cellWidth = before[5] + 30;
    RebalanceFitWeights(columns, true, false);
    EXPECT_EQ(columns[5].fitWeight, MulDiv(100, 140, 110));
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(columns[i].fitWeight, kArticleWeights[i]);
    FitColumnWidths(columns, Area(850));
    const std::vector<int> after = Widths(columns);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_LT(after[i], before[i]) << i;
    EXPECT_GT(after[5], before[5]);
    EXPECT_EQ(Sum(after), 832);
}

TEST(RebalanceFitWeights, WithoutFittingTheDraggedWidthBecomesTheWidth) {
    std::vector<TFitColumnEh> columns = Columns(kArticleWeights);
    columns[2].cellWidth = 90;
    columns[3].autoFit = false;
    columns[3].cellWidth = 20;
    RebalanceFitWeights(columns, false, false);
    EXPECT_EQ(columns[2].width, 90);
    EXPECT_EQ(columns[2].fitWeight, 52);
    EXPECT_EQ(columns[3].width, 20);
    // With fitting on, a column outside the fit also takes its cell width.
    columns = Columns(kArticleWeights);
    columns[3].autoFit = false;
    columns[3].cellWidth = 20;
    RebalanceFitWeights(columns, true, false);
    EXPECT_EQ(columns[3].width, 20);
    EXPECT_EQ(columns[4].fitWeight, 64);
}

TEST(RebalanceFitWeights, ANeighbourNeverGetsANegativeWeight) {
    std::vector<TFitColumnEh> columns = Columns({10, 5, 10});
    columns[0].cellWidth = 100; // ten times wider: weight 100, neighbour 5 - 90
    RebalanceFitWeights(columns, true, false);
    EXPECT_EQ(columns[0].fitWeight, 100);
    EXPECT_EQ(columns[1].fitWeight, 0);
    EXPECT_EQ(columns[2].fitWeight, 10);
}

TEST(RebalanceFitWeights, TheWholeRightPartSharesTheChange) {
    std::vector<TFitColumnEh> columns = Columns({100, 100, 300});
    columns[0].cellWidth = 140; // +40 of weight, taken from the right in proportion 1 : 3
    RebalanceFitWeights(columns, true, true);
    EXPECT_EQ(columns[0].fitWeight, 140);
    EXPECT_EQ(columns[1].fitWeight, 90);
    EXPECT_EQ(columns[2].fitWeight, 270);
}

TEST(ClampColumnWidth, MaximumFirstThenMinimumAndNeverNegative) {
    EXPECT_EQ(ClampColumnWidth(120, 0, 100), 100);
    EXPECT_EQ(ClampColumnWidth(20, 30, 100), 30);
    EXPECT_EQ(ClampColumnWidth(20, 30, 25), 30); // the minimum wins
    EXPECT_EQ(ClampColumnWidth(-7, 0, 0), 0);
    EXPECT_EQ(ClampColumnWidth(500, 0, 0), 500);
}
