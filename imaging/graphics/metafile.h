#pragma once
// TMetafile: a placeable Windows metafile. Its header gives the size (the
// bounding box in units of `inch` per inch, shown at 96 pixels per inch);
// the drawing records are kept, not played: the metafile draws as a frame.
// Saves the bytes it was loaded from.

#include "imaging/graphics/graphic.h"

class TMetafile : public TGraphic {
public:
    QString ClassName() const override { return QStringLiteral("TMetafile"); }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TMetafile>(*this); }

    // Raises EInvalidGraphic "Metafile is not valid" unless the bytes hold a
    // placeable header (key, checksum, units per inch) and a metafile header.
    void LoadFromBytes(QByteArrayView bytes) override;
    QByteArray SaveToBytes() const override;

    bool Empty() const override { return bytes_.isEmpty(); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // The bounding box in the metafile's own units.
    QRect Bounds() const { return bounds_; }
    int UnitsPerInch() const { return inch_; }
    void Draw(QPainter& painter, const QRect& rect) const override;
    // Also as "image/x-wmf", the bytes themselves.
    void SaveToClipboard(QMimeData& data) const override;

    static constexpr const char* kMimeType = "image/x-wmf";

private:
    QByteArray bytes_;
    QRect bounds_;
    int inch_ = 0;
    int width_ = 0;
    int height_ = 0;
};
