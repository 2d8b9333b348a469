#pragma once
// The arithmetic of the column widths: fitting the widths to the grid's
// client width by the columns' weights, and moving weight between columns
// after the user resized one. Plain functions over numbers; the grid copies
// its columns in and the results back.

#include <vector>

// One column as the fitting sees it.
struct TFitColumnEh {
    int width = 0;     // the column's Width; the fitting assigns it
    int cellWidth = 0; // the width of its cells on screen (after a user drag)
    int fitWeight = 0; // its share of the fitted width, in pixels of unfitted width
    int minWidth = 0;
    int maxWidth = 0; // 0: no maximum
    bool autoFit = true;
    bool visible = true;
};

// What the columns share: the client width less the indicator and the lines.
struct TFitAreaEh {
    int clientWidth = 0;
    int minAutoFitWidth = 0;
    int indicatorWidth = 0; // 0 without the indicator column
    bool colLines = true;   // one pixel of vertical line right of every column
    int groupingIndent = 0;
};

// The width a column keeps when `value` is assigned: cut to MaxWidth when
// that is positive and smaller, then raised to MinWidth, and never below 0.
int ClampColumnWidth(int value, int minWidth, int maxWidth);

// Pixels the fitted columns share: the larger of MinAutoFitWidth and the
// client width, less the widths of the columns that do not fit (raised to 0
// if that leaves less), less the indicator, the lines and the grouping indent.
// The result is negative when the window is narrower than those.
int FitAvailableWidth(const TFitAreaEh& area, int fixedSum, int visibleCount);

// Assigns every visible fitting column its share of the available width:
// available × weight / sum of weights, rounded. A column that its minimum or
// maximum clamps is fixed at that width and the rest are shared again (at
// most once per visible column). The rounding remainder goes to the last
// visible column that fits and is not fixed. No width ends below 0.
void FitColumnWidths(std::vector<TFitColumnEh>& columns, const TFitAreaEh& area);

// After a user resize: every visible column whose cell width differs from
// its Width either takes the cell width as its Width (no fitting, or a column
// that does not fit) or changes its weight in proportion to the resize; the
// weight it gains or loses is taken from (or given to) its right-hand
// neighbour, or with `resizeWholeRightPart` shared by all fitting columns to
// its right in proportion to their weights. The last visible column trades
// with nobody, so a fit afterwards rescales every column.
void RebalanceFitWeights(std::vector<TFitColumnEh>& columns, bool autoFitColWidths,
                         bool resizeWholeRightPart);
