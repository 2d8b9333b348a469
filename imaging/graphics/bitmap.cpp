#include "imaging/graphics/bitmap.h"

#include <QBuffer>
#include <QPainter>

void TBitmap::LoadFromBytes(QByteArrayView bytes) {
    QImage image;
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M' || !image.loadFromData(bytes, "BMP"))
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    image_ = std::move(image);
    bytes_ = bytes.toByteArray();
}

QByteArray TBitmap::SaveToBytes() const {
    if (!bytes_.isEmpty())
        return bytes_;
    QByteArray out;
    QBuffer buffer(&out);
    if (image_.isNull() || !buffer.open(QIODevice::WriteOnly) || !image_.save(&buffer, "BMP"))
        throw EInvalidGraphic(QStringLiteral("Cannot save an empty bitmap"));
    return out;
}

void TBitmap::Draw(QPainter& painter, const QRect& rect) const {
    if (!image_.isNull())
        painter.drawImage(rect, image_);
}
