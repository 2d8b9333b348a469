#pragma once
// TJPEGImage: a JPEG photograph. Loading reads only the header (size,
// grey-scale, progressive); the pixels are decoded when the image is first
// drawn, which a hidden control never does. Saves the bytes it was loaded
// from.

#include "imaging/graphics/graphic.h"
#include "imaging/jpeg/jpeg_codec.h"

class TJPEGImage : public TGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TJPEGImage"); }
    std::unique_ptr<TGraphic> Clone() const override;

    // Raises EJPEG for bytes whose header libjpeg cannot read.
    void LoadFromBytes(QByteArrayView bytes) override;
    QByteArray SaveToBytes() const override;

    bool Empty() const override { return data_.isEmpty(); }
    int Width() const override { return header_.width; }
    int Height() const override { return header_.height; }
    bool Grayscale() const { return header_.grayscale; }
    bool ProgressiveEncoding() const { return header_.progressive; }

    // Decodes on the first call; data that fails to decode draws nothing.
    void Draw(QPainter& painter, const QRect& rect) const override;
    QImage ToImage() const override;
    // The pixels have been decoded (or decoding was tried and failed).
    bool DecodeTried() const { return decodeTried_; }

private:
    const QImage& Decoded() const;

    QByteArray data_;
    TJpegHeader header_;
    mutable QImage pixels_;
    mutable bool decodeTried_ = false;
};
