#pragma once
// The incremental search's highlight: the text matched so far, drawn over
// the current cell where the cell's own text begins, so that it covers the
// first characters of the value whatever the column's alignment.

#include "grid/grid_extension_eh.h"

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

// The rectangle the highlight fills: from where the cell's text starts, as
// wide as `searchText` in the cell's font and as high as a line of it.
QRect SearchHighlightRectEh(const TCellPaintInfoEh& cell, const QString& searchText);
// Fills that rectangle (inside the cell's text area) with `background` and
// draws `searchText` on it.
void PaintSearchHighlightEh(QPainter& painter, const TCellPaintInfoEh& cell,
                            const QString& searchText, const QColor& background,
                            const QColor& textColor);
