#pragma once
// TIcon: a Windows icon resource (.ico). Its directory is checked here; the
// images are read with Qt's ICO reader, which gives the first one. Saves the
// bytes it was loaded from.

#include "imaging/graphics/graphic.h"

class TIcon : public TGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TIcon"); }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TIcon>(*this); }

    // Raises EInvalidGraphic "Icon image is not valid".
    void LoadFromBytes(QByteArrayView bytes) override;
    QByteArray SaveToBytes() const override;

    bool Empty() const override { return image_.isNull(); }
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void Draw(QPainter& painter, const QRect& rect) const override;
    // The icon drawn onto a bitmap of its size.
    QImage ToImage() const override { return image_; }

private:
    QImage image_;
    QByteArray bytes_;
};
