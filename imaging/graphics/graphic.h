#pragma once
// TGraphic: the base of the images a picture can hold (bitmap, icon,
// metafile, JPEG). Each loads itself from bytes in its own format, saves
// itself in that format, draws itself stretched into a rectangle and tells
// its size.

#include "platform/core/exception.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QRect>
#include <memory>

class QMimeData;
class QPainter;
class TMemoryStream;

// Bytes that are not a valid image of the graphic's class.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual QString ClassName() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    // Reads the graphic from the stream's position to its end and leaves the
    // stream at its end. Raises EInvalidGraphic (or a subclass) for bytes it
    // cannot take; the graphic is then unchanged.
    void LoadFromStream(TMemoryStream& stream);
    // Writes the graphic in its own format at the stream's position. Raises
    // EInvalidGraphic when the graphic is empty.
    void SaveToStream(TMemoryStream& stream) const;

    virtual void LoadFromBytes(QByteArrayView bytes) = 0;
    virtual QByteArray SaveToBytes() const = 0;

    virtual bool Empty() const = 0;
    // The natural size in pixels; a metafile's may be zero or negative.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Draws the graphic stretched into `rect`.
    virtual void Draw(QPainter& painter, const QRect& rect) const = 0;

    // The graphic drawn at its natural size; null when empty or without a size.
    virtual QImage ToImage() const;
    // Puts the graphic on the clipboard's data: as an image, and in its own
    // format where the clipboard knows one.
    virtual void SaveToClipboard(QMimeData& data) const;

protected:
    TGraphic() = default;
    TGraphic(const TGraphic&) = default;
    TGraphic& operator=(const TGraphic&) = default;
};
