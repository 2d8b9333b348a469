#include "grid/paint/grid_cell_painter_eh.h"

#include "grid/layout/grid_metrics.h"

#include <QFontMetrics>
#include <QPainter>

namespace GridCellPainterEh {

QRect TextRect(const QRect& cell) {
    return cell.adjusted(2, 2, -2, 0);
}

int TextLeft(const QRect& textRect, int textWidth, TAlignment alignment) {
    switch (alignment) {
    case taRightJustify:
        return textRect.right() + 1 - textWidth;
    case taCenter:
        return textRect.left() + (textRect.width() - textWidth) / 2;
    case taLeftJustify:
        break;
    }
    return textRect.left();
}

namespace {

void Edges(QPainter& painter, const QRect& cell, const QColor& topLeft, const QColor& bottomRight) {
    if (cell.width() <= 0 || cell.height() <= 0)
        return;
    painter.setPen(topLeft);
    painter.drawLine(cell.left(), cell.bottom(), cell.left(), cell.top());
    painter.drawLine(cell.left(), cell.top(), cell.right(), cell.top());
    painter.setPen(bottomRight);
    painter.drawLine(cell.right(), cell.top() + 1, cell.right(), cell.bottom());
    painter.drawLine(cell.left() + 1, cell.bottom(), cell.right(), cell.bottom());
}

} // namespace

void DrawRaised(QPainter& painter, const QRect& cell, const TGridPaletteEh& palette) {
    Edges(painter, cell, palette.light, palette.shadow);
}

void DrawSunken(QPainter& painter, const QRect& cell, const TGridPaletteEh& palette) {
    Edges(painter, cell, palette.shadow, palette.light);
}

void DrawText(QPainter& painter, const QRect& textRect, const QString& text, const QFont& font,
              const QColor& color, TAlignment alignment) {
    if (text.isEmpty() || textRect.width() <= 0 || textRect.height() <= 0)
        return;
    const QFontMetrics metrics(font);
    // Measuring lays the text out as drawing it does again: only the
    // alignments that place the text by its width pay for it.
    const int width = alignment == taLeftJustify ? 0 : metrics.horizontalAdvance(text);
    const int left = TextLeft(textRect, width, alignment);
    painter.save();
    painter.setClipRect(textRect, Qt::IntersectClip);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QPoint(left, textRect.top() + metrics.ascent()), text);
    painter.restore();
}

void PaintTitleCell(QPainter& painter, const TTitleCellEh& title, const TGridPaletteEh& palette,
                    const TTitleDecorationEh& decorate) {
    if (title.cell.isEmpty())
        return;
    painter.fillRect(title.cell, palette.fixed);
    if (title.pressed)
        DrawSunken(painter, title.cell, palette);
    else if (title.raised)
        DrawRaised(painter, title.cell, palette);
    painter.save();
    painter.setClipRect(title.cell.adjusted(1, 1, -1, -1), Qt::IntersectClip);
    if (title.pressed)
        painter.translate(1, 1);
    const QRect inner = title.cell.adjusted(1, 1, -1, -1);
    QRect caption = TextRect(title.cell);
    if (decorate)
        decorate(painter, inner, caption);
    DrawText(painter, caption, title.caption, title.font, title.textColor, title.alignment);
    painter.restore();
}

QPoint IndicatorGlyphOrigin(const QRect& cell) {
    const int areaLeft = cell.right() + 1 - GridMetricsEh::IndicatorColumnWidth;
    return QPoint(areaLeft + (GridMetricsEh::IndicatorColumnWidth - IndicatorGlyphWidth) / 2,
                  cell.top() + (cell.height() - IndicatorGlyphHeight) / 2);
}

void PaintIndicatorCell(QPainter& painter, const TIndicatorCellEh& indicator,
                        const TGridPaletteEh& palette) {
    if (indicator.cell.isEmpty())
        return;
    painter.fillRect(indicator.cell, palette.fixed);
    if (indicator.glyphBackground)
        painter.fillRect(indicator.cell.adjusted(1, 1, -1, -1), *indicator.glyphBackground);
    if (indicator.raised)
        DrawRaised(painter, indicator.cell, palette);
    if (!indicator.glyph)
        return;
    painter.save();
    painter.setClipRect(indicator.cell, Qt::IntersectClip);
    painter.drawImage(IndicatorGlyphOrigin(indicator.cell), IndicatorGlyph(*indicator.glyph));
    painter.restore();
}

void PaintDataCell(QPainter& painter, const TDataCellEh& data, const TGridPaletteEh& palette) {
    if (data.cell.isEmpty())
        return;
    painter.fillRect(data.cell, data.background);
    if (data.raised)
        DrawRaised(painter, data.cell, palette);
    DrawText(painter, TextRect(data.cell), data.text, data.font, data.textColor, data.alignment);
}

} // namespace GridCellPainterEh
