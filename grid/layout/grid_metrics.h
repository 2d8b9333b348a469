#pragma once
// The grid's row heights and its count of visible data rows, from the text
// heights of its fonts: plain functions over numbers.

#include <vector>

namespace GridMetricsEh {

// Width of the indicator column.
inline constexpr int IndicatorColumnWidth = 11;
// Half the width of the zone around a column's right edge where a title
// drag resizes the column (3 pixels either side of the line: 7 in all).
inline constexpr int SizingZoneHalf = 3;
// Pixels the pointer must travel from a title press before it moves the column.
inline constexpr int MoveThreshold = 3;

int IndicatorWidth(bool indicator);
// The height of "Wg" in the grid font, plus 3 (1 when flat), plus the line
// width when rows have lines. The footer rows have the same height.
int DataRowHeight(int textHeight, bool flat, int lineWidth, bool rowLines);
// The tallest "Wg" of the columns' title fonts, plus 4; `fallbackTextHeight`
// (the grid's title font) when there are no columns.
int TitleRowHeight(const std::vector<int>& titleTextHeights, int fallbackTextHeight);
// Whole data rows between the title row (and its line) and the footer rows
// (each a row and a line, and one line more above them), at least 1.
int VisibleDataRows(int clientHeight, int titleHeight, int rowHeight, int lineWidth,
                    int footerRowCount);

} // namespace GridMetricsEh
