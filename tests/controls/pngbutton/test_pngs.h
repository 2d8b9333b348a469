#pragma once
// PNG images for the button tests, made with the tests' own encoder.

#include "imaging/png/png_object.h"
#include "tests/imaging/png/support/test_png_encoder.h"

#include <QByteArray>

// A one-row 8-bit image of `colorType`; its width follows from the samples.
TTestImage Row(uint8_t colorType, std::vector<uint16_t> samples, std::vector<uint8_t> palette = {},
               std::optional<std::vector<uint8_t>> transparency = std::nullopt);
TPNGObject DecodePng(const TTestImage& image);
// A width x 1 truecolour image with alpha, one RGBA quadruple per pixel.
TPNGObject RgbaRow(const std::vector<uint16_t>& rgba);
// The committed glyph of the "Salir" button.
QByteArray SalirGlyphBytes();
