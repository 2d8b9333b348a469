#include "grid/layout/grid_metrics.h"

#include <algorithm>

namespace GridMetricsEh {

int IndicatorWidth(bool indicator) {
    return indicator ? IndicatorColumnWidth : 0;
}

int DataRowHeight(int textHeight, bool flat, int lineWidth, bool rowLines) {
    return textHeight + (flat ? 1 : 3) + (rowLines ? lineWidth : 0);
}

int TitleRowHeight(const std::vector<int>& titleTextHeights, int fallbackTextHeight) {
    const int tallest = titleTextHeights.empty()
                            ? fallbackTextHeight
                            : *std::max_element(titleTextHeights.begin(), titleTextHeights.end());
    return tallest + 4;
}

int VisibleDataRows(int clientHeight, int titleHeight, int rowHeight, int lineWidth,
                    int footerRowCount) {
    int space = clientHeight;
    if (titleHeight > 0)
        space -= titleHeight + lineWidth;
    if (footerRowCount > 0)
        space -= footerRowCount * (rowHeight + lineWidth) + lineWidth;
    const int step = rowHeight + lineWidth;
    if (space <= 0 || step <= 0)
        return 1;
    return std::max(1, space / step);
}

} // namespace GridMetricsEh
