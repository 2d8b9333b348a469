#include "controls/pngbutton/png_blend.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <optional>

namespace {

// A copy of the pixels under `deviceRect` of the painter's target, when the
// target is one whose pixels can be read.
std::optional<QImage> ReadCanvas(QPainter& painter, const QRect& deviceRect) {
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device)
        return std::nullopt;
    if (device->devType() == QInternal::Image) {
        const auto* image = static_cast<const QImage*>(device);
        if (image->devicePixelRatio() == 1.0)
            return image->copy(deviceRect);
    } else if (device->devType() == QInternal::Pixmap) {
        const auto* pixmap = static_cast<const QPixmap*>(device);
        if (pixmap->devicePixelRatio() == 1.0)
            return pixmap->copy(deviceRect).toImage();
    }
    return std::nullopt;
}

} // namespace

QImage BlendOver(const QImage& background, const QImage& glyph) {
    QImage out = background.convertToFormat(QImage::Format_ARGB32);
    const QImage source = glyph.convertToFormat(QImage::Format_RGBA8888);
    const int width = std::min(out.width(), source.width());
    const int height = std::min(out.height(), source.height());
    for (int y = 0; y < height; ++y) {
        auto* target = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uint8_t* pixel = source.constScanLine(y);
        for (int x = 0; x < width; ++x, pixel += 4) {
            const QRgb under = target[x];
            const uint8_t alpha = pixel[3];
            target[x] = qRgba(BlendChannel(alpha, pixel[0], static_cast<uint8_t>(qRed(under))),
                              BlendChannel(alpha, pixel[1], static_cast<uint8_t>(qGreen(under))),
                              BlendChannel(alpha, pixel[2], static_cast<uint8_t>(qBlue(under))),
                              BlendChannel(alpha, 255, static_cast<uint8_t>(qAlpha(under))));
        }
    }
    return out;
}

void DrawBlendedGlyph(QPainter& painter, QPoint at, const QImage& glyph) {
    if (glyph.isNull())
        return;
    const QTransform transform = painter.deviceTransform();
    if (transform.type() <= QTransform::TxTranslate) {
        const QRect deviceRect(transform.map(at), glyph.size());
        if (std::optional<QImage> under = ReadCanvas(painter, deviceRect)) {
            // The mixed pixels replace what is there; the painter's clip still holds.
            painter.save();
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(at, BlendOver(*under, glyph));
            painter.restore();
            return;
        }
    }
    painter.drawImage(at, glyph);
}
