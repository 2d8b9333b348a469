#pragma once
// TPngOptions: how a PNG glyph button changes its glyph while disabled.

enum TPngOption : unsigned {
    pngBlendOnDisabled = 1,     // half the opacity
    pngGrayscaleOnDisabled = 2, // grey colours
};
using TPngOptions = unsigned;
