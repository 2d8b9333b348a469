#pragma once
// TBitmap: a Windows BMP image. It loads BMP files (with their "BM" file
// header) through Qt's BMP reader and saves the bytes it was loaded from
// unchanged; a bitmap made from an image saves as a new BMP file.

#include "imaging/graphics/raster_graphic.h"

class TBitmap : public TRasterGraphic {
public:
    TBitmap() = default;
    explicit TBitmap(QImage image) : TRasterGraphic(std::move(image)) {}
    QString ClassName() const override { return QStringLiteral("TBitmap"); }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmap>(*this); }

    // Raises EInvalidGraphic "Bitmap image is not valid".
    void LoadFromBytes(QByteArrayView bytes) override;
    QByteArray SaveToBytes() const override;
};
