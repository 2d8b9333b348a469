#include "grid/sorting/sort_marker_painter_eh.h"

#include "grid/glyphs/grid_glyphs.h"

#include <QFontMetrics>
#include <QPainter>

namespace SortMarkerPainterEh {

namespace {
// What the caption gives up for a marker, and the gaps around it.
constexpr int kMarkerRoom = 16;
constexpr int kGap = 2;
} // namespace

QFont NumberFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(SortMarkerHeight - 1);
    return font;
}

TSortMarkerLayoutEh Layout(const QRect& inner, const QRect& caption, int numberWidth) {
    const int innerRight = inner.x() + inner.width();
    const int left = caption.x();
    TSortMarkerLayoutEh layout;
    layout.captionRight = caption.x() + caption.width() - kMarkerRoom;
    bool marker = true;
    bool number = numberWidth > 0;
    if (layout.captionRight < left) {
        layout.captionRight += kMarkerRoom - kGap - numberWidth;
        marker = false;
        if (layout.captionRight < left) {
            layout.captionRight += numberWidth + kGap;
            number = false;
        }
    }
    const int markerLeft = innerRight - SortMarkerWidth - numberWidth - kGap;
    const int markerTop = inner.y() + (inner.height() - SortMarkerHeight) / 2;
    if (marker)
        layout.marker = QPoint(markerLeft, markerTop);
    if (number)
        layout.number = QPoint(innerRight - numberWidth - kGap, markerTop - 1);
    return layout;
}

void Paint(QPainter& painter, const QRect& inner, QRect& caption, TSortMarkerEh marker, int number,
           const QColor& numberColor) {
    if (marker == smNoneEh)
        return;
    const QFont font = NumberFont();
    const QFontMetrics metrics(font);
    const QString text = number > 0 ? QString::number(number) : QString();
    const TSortMarkerLayoutEh layout =
        Layout(inner, caption, text.isEmpty() ? 0 : metrics.horizontalAdvance(text));
    caption.setRight(layout.captionRight - 1);
    if (layout.marker)
        painter.drawImage(
            *layout.marker,
            SortMarkerGlyph(marker == smUpEh ? TSortMarkerGlyphEh::Up : TSortMarkerGlyphEh::Down));
    if (layout.number) {
        painter.save();
        painter.setFont(font);
        painter.setPen(numberColor);
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.drawText(*layout.number + QPoint(0, metrics.ascent()), text);
        painter.restore();
    }
}

} // namespace SortMarkerPainterEh
