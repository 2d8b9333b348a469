#pragma once
// Conversion of a decoded TPNGObject into a QImage for drawing.

#include "imaging/png/png_object.h"

#include <QImage>

// A deep copy in QImage::Format_RGBA8888 (straight alpha); a null QImage
// for an empty PNG.
QImage PngToQImage(const TPNGObject& png);
