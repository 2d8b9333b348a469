#include "imaging/graphics/raster_graphic.h"

#include <QPainter>

void TRasterGraphic::Draw(QPainter& painter, const QRect& rect) const {
    if (!image_.isNull())
        painter.drawImage(rect, image_);
}

void TRasterGraphic::Read(QByteArrayView bytes, const char* format, const QString& invalid) {
    QImage image;
    if (!image.loadFromData(bytes, format))
        throw EInvalidGraphic(invalid);
    image_ = std::move(image);
    bytes_ = bytes.toByteArray();
}
