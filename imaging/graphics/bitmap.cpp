#include "imaging/graphics/bitmap.h"

#include <QBuffer>

void TBitmap::LoadFromBytes(QByteArrayView bytes) {
    const QString invalid = QStringLiteral("Bitmap image is not valid");
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        throw EInvalidGraphic(invalid);
    Read(bytes, "BMP", invalid);
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
