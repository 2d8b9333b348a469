#pragma once
// TIcon: a Windows icon resource (.ico). Its directory is checked here; the
// images are read with Qt's ICO reader, which gives the first one. Saves the
// bytes it was loaded from; on the clipboard it is a bitmap of its size.

#include "imaging/graphics/raster_graphic.h"

class TIcon : public TRasterGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TIcon"); }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TIcon>(*this); }

    // Raises EInvalidGraphic "Icon image is not valid".
    void LoadFromBytes(QByteArrayView bytes) override;
    QByteArray SaveToBytes() const override;
};
