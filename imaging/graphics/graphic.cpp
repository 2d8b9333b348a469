#include "imaging/graphics/graphic.h"

#include "platform/core/memory_stream.h"

#include <QMimeData>
#include <QPainter>

void TGraphic::LoadFromStream(TMemoryStream& stream) {
    LoadFromBytes(stream.Remaining());
    stream.SetPosition(stream.Size());
}

void TGraphic::SaveToStream(TMemoryStream& stream) const {
    stream.Write(SaveToBytes());
}

QImage TGraphic::ToImage() const {
    if (Empty() || Width() <= 0 || Height() <= 0)
        return QImage();
    QImage image(Width(), Height(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Draw(painter, image.rect());
    return image;
}

void TGraphic::SaveToClipboard(QMimeData& data) const {
    data.setImageData(ToImage());
}
