#include "tests/controls/pngbutton/test_pngs.h"

#include <QFile>

TTestImage Row(uint8_t colorType, std::vector<uint16_t> samples, std::vector<uint8_t> palette,
               std::optional<std::vector<uint8_t>> transparency) {
    TTestImage image;
    image.colorType = colorType;
    image.width = static_cast<uint32_t>(samples.size() / static_cast<size_t>(image.Channels()));
    image.samples = std::move(samples);
    image.palette = std::move(palette);
    image.transparency = std::move(transparency);
    return image;
}

TPNGObject DecodePng(const TTestImage& image) {
    TPNGObject png;
    png.LoadFromBytes(EncodeTestPng(image));
    return png;
}

TPNGObject RgbaRow(const std::vector<uint16_t>& rgba) {
    return DecodePng(Row(6, rgba));
}

QByteArray SalirGlyphBytes() {
    QFile file(QStringLiteral(AMQB_SALIR_GLYPH_PATH));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
