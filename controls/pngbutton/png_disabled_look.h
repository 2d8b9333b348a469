#pragma once
// The pixels a PNG glyph is drawn with: the decoded image while the button
// is enabled, or a copy faded and/or greyed by the options while disabled.

#include "controls/pngbutton/png_options.h"
#include "imaging/png/png_object.h"

#include <QImage>
#include <cstdint>

// n / d rounded to the nearest integer, a half to the even one (n, d >= 0).
int RoundHalfEven(int numerator, int denominator);
// round(alpha / 256 * 128), half to even: 255 becomes 128, 1 becomes 0.
uint8_t HalveAlpha(uint8_t alpha);
// round(0.3 R + 0.59 G + 0.11 B), half to even, computed exactly.
uint8_t GrayOf(uint8_t red, uint8_t green, uint8_t blue);

// The glyph in QImage::Format_RGBA8888 (straight alpha); a null image for an
// empty PNG. Disabled, `options` apply: the blend first, then the grey.
QImage PngGlyphPixels(const TPNGObject& png, bool enabled, TPngOptions options);
