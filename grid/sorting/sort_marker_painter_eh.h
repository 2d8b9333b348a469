#pragma once
// The sort marker of a title cell: the triangle bitmap at the cell's right,
// the column's SortIndex beside it in a small font when several columns are
// sorted, and the room the caption gives up for them.

#include "grid/columns/column_title_eh.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <optional>

class QPainter;

// Where the marker and the number go in a title cell, and the caption's new
// room. Edges are pixel columns; `right` edges are exclusive.
struct TSortMarkerLayoutEh {
    int captionRight = 0;
    std::optional<QPoint> marker; // the bitmap's top-left
    std::optional<QPoint> number; // the number's top-left
};

namespace SortMarkerPainterEh {

// The font of the number: Arial, characters 8 pixels high (the marker's
// height less one).
QFont NumberFont();

// `inner`: the cell inside its edges; `caption`: the caption's room;
// `numberWidth`: the number's width, 0 when no number is shown. The caption
// gives 16 pixels to the marker; when that leaves it no room it takes back
// 14 less the number's width and the marker goes, and when it still has
// none it takes back the rest and the number goes too.
TSortMarkerLayoutEh Layout(const QRect& inner, const QRect& caption, int numberWidth);

// Draws the marker (and, when `number` is above 0, the number) and narrows
// `caption`. Nothing for smNoneEh.
void Paint(QPainter& painter, const QRect& inner, QRect& caption, TSortMarkerEh marker, int number,
           const QColor& numberColor);

} // namespace SortMarkerPainterEh
