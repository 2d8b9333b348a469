#pragma once
// TRasterGraphic: the base of the graphics that are pixels read by Qt
// (bitmap, icon). It keeps the image and the bytes it was read from, which
// it saves unchanged.

#include "imaging/graphics/graphic.h"

class TRasterGraphic : public TGraphic {
public:
    bool Empty() const override { return image_.isNull(); }
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void Draw(QPainter& painter, const QRect& rect) const override;
    QImage ToImage() const override { return image_; }

    const QImage& Image() const { return image_; }

protected:
    TRasterGraphic() = default;
    explicit TRasterGraphic(QImage image) : image_(std::move(image)) {}
    // Reads `bytes` with Qt's reader of `format`; raises EInvalidGraphic
    // with `invalid` when it cannot, leaving the graphic as it was.
    void Read(QByteArrayView bytes, const char* format, const QString& invalid);

    QImage image_;
    QByteArray bytes_; // what it was read from; empty for a made image
};
