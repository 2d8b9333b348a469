#include "controls/pngbutton/png_disabled_look.h"

#include "controls/png/png_qimage.h"

namespace {

// The grey option mixes each channel with its grey by this amount; at 255
// every channel becomes the grey value.
constexpr int kGrayAmount = 255;

template <typename F> void ForEachPixel(QImage& image, F&& change) {
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* pixel = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, pixel += 4)
            change(pixel);
    }
}

// An indexed image has alpha values when its transparency chunk holds any
// value besides 0 and 255; with only those it has single transparent colours.
bool HasPartialPaletteAlpha(const TPNGObject& png) {
    for (uint8_t alpha : png.PaletteAlpha())
        if (alpha != 0 && alpha != 255)
            return true;
    return false;
}

void BlendPixels(QImage& image, const TPNGObject& png) {
    const TPngColorType type = png.ColorType();
    const bool hasAlphaValues = type == TPngColorType::GrayscaleAlpha ||
                                type == TPngColorType::TruecolorAlpha ||
                                (type == TPngColorType::Indexed && HasPartialPaletteAlpha(png));
    // An image without alpha values gets them: truecolour starts opaque and
    // is halved, greyscale and indexed images take 127 at once. Its one
    // transparent colour, if any, stays fully transparent.
    const uint8_t opaque = type == TPngColorType::Truecolor ? HalveAlpha(255) : uint8_t{127};
    ForEachPixel(image, [&](uint8_t* p) {
        if (hasAlphaValues)
            p[3] = HalveAlpha(p[3]);
        else
            p[3] = p[3] == 0 ? uint8_t{0} : opaque;
    });
}

void GrayPixels(QImage& image, const TPNGObject& png) {
    const TPngColorType type = png.ColorType();
    if (type == TPngColorType::Grayscale || type == TPngColorType::GrayscaleAlpha)
        return;
    ForEachPixel(image, [](uint8_t* p) {
        const int gray = GrayOf(p[0], p[1], p[2]);
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<uint8_t>(RoundHalfEven(p[c] * (255 - kGrayAmount), 256) +
                                        RoundHalfEven(gray * (kGrayAmount + 1), 256));
    });
}

} // namespace

int RoundHalfEven(int numerator, int denominator) {
    const int quotient = numerator / denominator;
    const int twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 == 1))
        return quotient + 1;
    return quotient;
}

uint8_t HalveAlpha(uint8_t alpha) {
    return static_cast<uint8_t>(RoundHalfEven(alpha * 128, 256));
}

uint8_t GrayOf(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint8_t>(RoundHalfEven(30 * red + 59 * green + 11 * blue, 100));
}

QImage PngGlyphPixels(const TPNGObject& png, bool enabled, TPngOptions options) {
    QImage image = PngToQImage(png);
    if (image.isNull() || enabled)
        return image;
    if (options & pngBlendOnDisabled)
        BlendPixels(image, png);
    if (options & pngGrayscaleOnDisabled)
        GrayPixels(image, png);
    return image;
}
