#pragma once
// Paints the whole grid: the title row, the indicator column, the data rows
// and the footer row with their grid lines, cell by cell through the cell
// painters, then what the extensions and a mouse drag draw over it.

#include <QRect>

class QPainter;
class TDBGridEh;

void PaintGridEh(QPainter& painter, TDBGridEh& grid, const QRect& area);
