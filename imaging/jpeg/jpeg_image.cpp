#include "imaging/jpeg/jpeg_image.h"

#include <QPainter>

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
    return std::make_unique<TJPEGImage>(*this);
}

void TJPEGImage::LoadFromBytes(QByteArrayView bytes) {
    header_ = ReadJpegHeader(bytes);
    data_ = bytes.toByteArray();
    pixels_ = QImage();
    decodeTried_ = false;
}

QByteArray TJPEGImage::SaveToBytes() const {
    if (data_.isEmpty())
        throw EJPEG(QStringLiteral("Cannot save an empty JPEG image"));
    return data_;
}

const QImage& TJPEGImage::Decoded() const {
    if (!decodeTried_ && !data_.isEmpty()) {
        decodeTried_ = true;
        try {
            pixels_ = DecodeJpeg(data_);
        } catch (const EJPEG&) {
            pixels_ = QImage();
        }
    }
    return pixels_;
}

void TJPEGImage::Draw(QPainter& painter, const QRect& rect) const {
    const QImage& pixels = Decoded();
    if (!pixels.isNull())
        painter.drawImage(rect, pixels);
}

QImage TJPEGImage::ToImage() const {
    return Decoded();
}
