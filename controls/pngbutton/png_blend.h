#pragma once
// Draws a straight-alpha glyph over what a painter has painted already, each
// channel mixed as (alpha * glyph + (255 - alpha) * background + 255) >> 8.

#include <QImage>
#include <QPoint>
#include <cstdint>

class QPainter;

inline uint8_t BlendChannel(uint8_t alpha, uint8_t glyph, uint8_t background) {
    return static_cast<uint8_t>((alpha * glyph + (255 - alpha) * background + 255) >> 8);
}

// `background` (any format) with `glyph` (Format_RGBA8888, same size) blended
// over it; the result is in Format_ARGB32.
QImage BlendOver(const QImage& background, const QImage& glyph);

// Draws `glyph` with its top-left corner at `at`. On a raster canvas (a
// QImage, a raster pixmap, a widget's backing store) the pixels underneath
// are read back and mixed exactly by the formula; elsewhere Qt's own
// source-over blending stands in for it.
void DrawBlendedGlyph(QPainter& painter, QPoint at, const QImage& glyph);
