#pragma once
// Where the grid's cells lie in its client area, worked out once per layout
// pass from the row heights and the column widths, and the hit test that the
// mouse handling asks. Widget-free: rectangles and points only.
//
//   x: the indicator column, its line, then per shown column its cells and
//      the line right of them.
//   y: the title row and its line, the data rows each followed by its line,
//      one line more, then the footer rows each followed by its line.

#include <QPoint>
#include <QRect>
#include <vector>

enum class TGridAreaEh { None, TopLeft, Title, Indicator, Data, FooterIndicator, Footer };

struct TGridHitEh {
    TGridAreaEh area = TGridAreaEh::None;
    int column = -1; // into TGridGeometryEh::columns
    int row = -1;    // data row or footer row
    // The column whose right edge is within the sizing zone (title row only).
    int sizingColumn = -1;
};

// A shown column: its place in the list of visible columns and its cells' span.
struct TGridColumnSpanEh {
    int visibleIndex = 0;
    int left = 0;
    int width = 0;
};

struct TGridGeometryEh {
    int clientWidth = 0;
    int clientHeight = 0;
    int lineWidth = 1;
    bool colLines = true;
    int indicatorWidth = 0;
    int titleHeight = 0; // 0 without titles
    int rowHeight = 0;
    int visibleRows = 1; // data rows there is room for
    int shownRows = 0;   // data rows that hold a record
    int footerRows = 0;
    std::vector<TGridColumnSpanEh> columns;

    // Builds the column spans from the widths of the visible columns,
    // starting with the visible column `leftColumn` (the horizontal scroll).
    void LayColumns(const std::vector<int>& widths, int leftColumn);

    int DataTop() const { return titleHeight > 0 ? titleHeight + lineWidth : 0; }
    int RowTop(int row) const { return DataTop() + row * (rowHeight + lineWidth); }
    // The first footer row starts one line below the line of the last data
    // row that holds a record.
    int DataBottom() const { return RowTop(shownRows); }
    int FooterTop(int footerRow) const {
        return DataBottom() + lineWidth + footerRow * (rowHeight + lineWidth);
    }
    // Right of the last shown column's line.
    int ColumnsRight() const;
    // Index into `columns` of the visible column, or -1 when it is not shown.
    int SpanOf(int visibleIndex) const;

    QRect IndicatorTitleRect() const { return QRect(0, 0, indicatorWidth, titleHeight); }
    QRect TitleRect(int span) const;
    QRect IndicatorRect(int row) const { return QRect(0, RowTop(row), indicatorWidth, rowHeight); }
    QRect CellRect(int span, int row) const;
    QRect FooterIndicatorRect(int footerRow) const {
        return QRect(0, FooterTop(footerRow), indicatorWidth, rowHeight);
    }
    QRect FooterRect(int span, int footerRow) const;

    TGridHitEh HitTest(QPoint point) const;
};
