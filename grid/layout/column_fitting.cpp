#include "grid/layout/column_fitting.h"

#include "grid/layout/mul_div.h"

#include <algorithm>
#include <cstdint>

namespace {

int VisibleCount(const std::vector<TFitColumnEh>& columns) {
    return static_cast<int>(std::count_if(columns.begin(), columns.end(),
                                          [](const TFitColumnEh& c) { return c.visible; }));
}

// Gives the weight `delta` to the fitting columns right of `from`, in
// proportion to their weights; the last of them takes the remainder.
void SpreadOverRightPart(std::vector<TFitColumnEh>& columns, size_t from, int delta) {
    std::int64_t sum = 0;
    size_t last = columns.size();
    for (size_t i = from + 1; i < columns.size(); ++i)
        if (columns[i].visible && columns[i].autoFit) {
            sum += columns[i].fitWeight;
            last = i;
        }
    if (last == columns.size())
        return;
    int given = 0;
    for (size_t i = from + 1; i < columns.size(); ++i) {
        if (!columns[i].visible || !columns[i].autoFit)
            continue;
        const int share = i == last ? delta - given
                          : sum > 0 ? MulDiv(delta, columns[i].fitWeight, sum)
                                    : 0;
        given += share;
        columns[i].fitWeight = std::max(0, columns[i].fitWeight + share);
    }
}

} // namespace

int ClampColumnWidth(int value, int minWidth, int maxWidth) {
    if (maxWidth > 0 && maxWidth < value)
        value = maxWidth;
    if (value < minWidth)
        value = minWidth;
    return std::max(0, value);
}

int FitAvailableWidth(const TFitAreaEh& area, int fixedSum, int visibleCount) {
    int available = std::max(area.minAutoFitWidth, area.clientWidth) - fixedSum;
    if (available < 0)
        available = 0;
    available -= area.indicatorWidth;
    if (area.colLines)
        available -= visibleCount + (area.indicatorWidth > 0 ? 1 : 0);
    return available - area.groupingIndent;
}

void FitColumnWidths(std::vector<TFitColumnEh>& columns, const TFitAreaEh& area) {
    const int visibleCount = VisibleCount(columns);
    std::vector<bool> fixed(columns.size(), false);
    auto fits = [&](size_t i) { return columns[i].visible && columns[i].autoFit && !fixed[i]; };
    int available = 0;
    int placed = 0;
    for (int pass = 0; pass < std::max(visibleCount, 1); ++pass) {
        std::int64_t weightSum = 0;
        int fixedSum = 0;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (!columns[i].visible)
                continue;
            if (fits(i))
                weightSum += columns[i].fitWeight;
            else
                fixedSum += columns[i].width;
        }
        available = FitAvailableWidth(area, fixedSum, visibleCount);
        placed = 0;
        bool newlyFixed = false;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (!fits(i))
                continue;
            TFitColumnEh& c = columns[i];
            const int target = weightSum > 0 ? MulDiv(available, c.fitWeight, weightSum) : 0;
            c.width = ClampColumnWidth(target, c.minWidth, c.maxWidth);
            if (c.width != target) {
                fixed[i] = true;
                newlyFixed = true;
            }
            placed += c.width;
        }
        if (!newlyFixed)
            break;
    }
    if (placed == available)
        return;
    for (size_t i = columns.size(); i-- > 0;) {
        if (fits(i)) {
            columns[i].width = std::max(0, columns[i].width + available - placed);
            return;
        }
    }
}

void RebalanceFitWeights(std::vector<TFitColumnEh>& columns, bool autoFitColWidths,
                         bool resizeWholeRightPart) {
    size_t lastVisible = columns.size();
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].visible)
            lastVisible = i;
    for (size_t i = 0; i < columns.size(); ++i) {
        TFitColumnEh& c = columns[i];
        if (!c.visible || c.cellWidth == c.width)
            continue;
        if (!autoFitColWidths || !c.autoFit) {
            c.width = c.cellWidth;
            continue;
        }
        const int oldWeight = c.fitWeight;
        const int newWeight = c.width > 0 ? MulDiv(oldWeight, c.cellWidth, c.width) : c.cellWidth;
        c.fitWeight = newWeight;
        if (i == lastVisible)
            continue;
        if (resizeWholeRightPart) {
            SpreadOverRightPart(columns, i, oldWeight - newWeight);
            continue;
        }
        for (size_t j = i + 1; j < columns.size(); ++j) {
            if (columns[j].visible) {
                columns[j].fitWeight = std::max(0, columns[j].fitWeight + oldWeight - newWeight);
                break;
            }
        }
    }
}
