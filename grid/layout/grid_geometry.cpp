#include "grid/layout/grid_geometry.h"

#include "grid/layout/grid_metrics.h"

#include <algorithm>
#include <cstdlib>

void TGridGeometryEh::LayColumns(const std::vector<int>& widths, int leftColumn) {
    columns.clear();
    int x = indicatorWidth > 0 ? indicatorWidth + (colLines ? lineWidth : 0) : 0;
    for (int i = std::max(0, leftColumn); i < static_cast<int>(widths.size()); ++i) {
        if (x >= clientWidth && !columns.empty())
            break;
        columns.push_back({i, x, widths[static_cast<size_t>(i)]});
        x += widths[static_cast<size_t>(i)] + (colLines ? lineWidth : 0);
    }
}

int TGridGeometryEh::ColumnsRight() const {
    if (columns.empty())
        return indicatorWidth > 0 ? indicatorWidth + (colLines ? lineWidth : 0) : 0;
    const TGridColumnSpanEh& last = columns.back();
    return last.left + last.width + (colLines ? lineWidth : 0);
}

int TGridGeometryEh::SpanOf(int visibleIndex) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].visibleIndex == visibleIndex)
            return static_cast<int>(i);
    return -1;
}

QRect TGridGeometryEh::TitleRect(int span) const {
    const TGridColumnSpanEh& c = columns.at(static_cast<size_t>(span));
    return QRect(c.left, 0, c.width, titleHeight);
}

QRect TGridGeometryEh::CellRect(int span, int row) const {
    const TGridColumnSpanEh& c = columns.at(static_cast<size_t>(span));
    return QRect(c.left, RowTop(row), c.width, rowHeight);
}

QRect TGridGeometryEh::FooterRect(int span, int footerRow) const {
    const TGridColumnSpanEh& c = columns.at(static_cast<size_t>(span));
    return QRect(c.left, FooterTop(footerRow), c.width, rowHeight);
}

TGridHitEh TGridGeometryEh::HitTest(QPoint p) const {
    TGridHitEh hit;
    if (p.x() < 0 || p.y() < 0 || p.x() >= clientWidth || p.y() >= clientHeight)
        return hit;
    const int step = rowHeight + lineWidth;
    bool inIndicator = indicatorWidth > 0 && p.x() < indicatorWidth + lineWidth;
    for (size_t i = 0; i < columns.size() && !inIndicator; ++i) {
        const TGridColumnSpanEh& c = columns[i];
        if (p.x() >= c.left && p.x() < c.left + c.width + (colLines ? lineWidth : 0)) {
            hit.column = static_cast<int>(i);
            break;
        }
    }
    if (titleHeight > 0 && p.y() < DataTop()) {
        hit.area = inIndicator ? TGridAreaEh::TopLeft : TGridAreaEh::Title;
        // The nearest right edge within the zone; on a tie the right-hand one,
        // so that a column squeezed to nothing can be pulled open again.
        int best = GridMetricsEh::SizingZoneHalf + 1;
        for (size_t i = 0; i < columns.size(); ++i) {
            const int edge = columns[i].left + columns[i].width;
            const int distance = std::abs(p.x() - edge);
            if (distance <= best && distance <= GridMetricsEh::SizingZoneHalf) {
                best = distance;
                hit.sizingColumn = static_cast<int>(i);
            }
        }
        if (hit.area == TGridAreaEh::Title && hit.column < 0 && hit.sizingColumn < 0)
            hit.area = TGridAreaEh::None;
        return hit;
    }
    if (footerRows > 0 && p.y() >= FooterTop(0)) {
        const int row = (p.y() - FooterTop(0)) / step;
        if (row >= footerRows)
            return {};
        hit.row = row;
        hit.area = inIndicator ? TGridAreaEh::FooterIndicator : TGridAreaEh::Footer;
        return hit.area == TGridAreaEh::Footer && hit.column < 0 ? TGridHitEh{} : hit;
    }
    const int row = (p.y() - DataTop()) / step;
    if (row >= shownRows)
        return {};
    hit.row = row;
    hit.area = inIndicator ? TGridAreaEh::Indicator : TGridAreaEh::Data;
    return hit.area == TGridAreaEh::Data && hit.column < 0 ? TGridHitEh{} : hit;
}
