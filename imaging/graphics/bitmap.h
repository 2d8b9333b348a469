#pragma once
// TBitmap: a Windows BMP image. It loads BMP files (with their "BM" file
// header) through Qt's BMP reader and saves the bytes it was loaded from
// unchanged; a bitmap made from an image saves as a new BMP file.

#include "imaging/graphics/graphic.h"

class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    explicit TBitmap(QImage image) : image_(std::move(image)) {}
    QString ClassName() const override { return QStringLiteral("TBitmap"); }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmap>(*this); }

    // Raises EInvalidGraphic "Bitmap image is not valid".
    void LoadFromBytes(QByteArrayView bytes) override;
    QByteArray SaveToBytes() const override;

    bool Empty() const override { return image_.isNull(); }
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void Draw(QPainter& painter, const QRect& rect) const override;
    QImage ToImage() const override { return image_; }

    const QImage& Image() const { return image_; }

private:
    QImage image_;
    QByteArray bytes_; // the file it was loaded from; empty for a made image
};
