#pragma once
// The 3D frames that panels and sunken client edges draw.

#include <QColor>
#include <QRect>

class QPainter;

// Draws `width` rings of a 3D frame inside `rect` and shrinks it by them.
void Frame3D(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight,
             int width);
