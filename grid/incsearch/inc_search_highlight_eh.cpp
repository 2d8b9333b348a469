#include "grid/incsearch/inc_search_highlight_eh.h"

#include "grid/paint/grid_cell_painter_eh.h"

#include <QFontMetrics>
#include <QPainter>

QRect SearchHighlightRectEh(const TCellPaintInfoEh& cell, const QString& searchText) {
    const QFontMetrics metrics(cell.font);
    const int left = GridCellPainterEh::TextLeft(
        cell.textRect, metrics.horizontalAdvance(cell.text), cell.alignment);
    return QRect(left, cell.textRect.top(), metrics.horizontalAdvance(searchText),
                 metrics.height());
}

void PaintSearchHighlightEh(QPainter& painter, const TCellPaintInfoEh& cell,
                            const QString& searchText, const QColor& background,
                            const QColor& textColor) {
    if (searchText.isEmpty() || cell.textRect.isEmpty())
        return;
    const QRect area = SearchHighlightRectEh(cell, searchText);
    painter.save();
    painter.setClipRect(cell.textRect, Qt::IntersectClip);
    painter.fillRect(area, background);
    painter.setFont(cell.font);
    painter.setPen(textColor);
    painter.drawText(QPoint(area.left(), area.top() + QFontMetrics(cell.font).ascent()),
                     searchText);
    painter.restore();
}
