#include "imaging/graphics/metafile.h"

#include "imaging/graphics/little_endian.h"

#include <QMimeData>
#include <QPainter>
#include <cmath>

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableSize = 22;
constexpr qsizetype kMetaHeaderSize = 18;
constexpr int kPixelsPerInch = 96;

int16_t Signed16(QByteArrayView bytes, qsizetype at) {
    return static_cast<int16_t>(ReadLE16(bytes, at));
}

// The checksum of a placeable header: the XOR of its first ten 16-bit words.
uint16_t Checksum(QByteArrayView bytes) {
    uint16_t sum = 0;
    for (qsizetype at = 0; at < 20; at += 2)
        sum ^= ReadLE16(bytes, at);
    return sum;
}

int ToPixels(int units, int inch) {
    return static_cast<int>(std::lround(double(units) * kPixelsPerInch / inch));
}

} // namespace

void TMetafile::LoadFromBytes(QByteArrayView bytes) {
    const auto invalid = [] { return EInvalidGraphic(QStringLiteral("Metafile is not valid")); };
    if (bytes.size() < kPlaceableSize + kMetaHeaderSize || ReadLE32(bytes, 0) != kPlaceableKey ||
        ReadLE16(bytes, 20) != Checksum(bytes))
        throw invalid();
    const int inch = ReadLE16(bytes, 14);
    const uint16_t type = ReadLE16(bytes, kPlaceableSize);
    const uint16_t headerWords = ReadLE16(bytes, kPlaceableSize + 2);
    if (inch == 0 || (type != 1 && type != 2) || headerWords != kMetaHeaderSize / 2)
        throw invalid();
    const int left = Signed16(bytes, 6), top = Signed16(bytes, 8);
    const int right = Signed16(bytes, 10), bottom = Signed16(bytes, 12);
    bytes_ = bytes.toByteArray();
    bounds_ = QRect(QPoint(left, top), QSize(right - left, bottom - top));
    inch_ = inch;
    width_ = ToPixels(right - left, inch);
    height_ = ToPixels(bottom - top, inch);
}

QByteArray TMetafile::SaveToBytes() const {
    if (bytes_.isEmpty())
        throw EInvalidGraphic(QStringLiteral("Cannot save an empty metafile"));
    return bytes_;
}

void TMetafile::Draw(QPainter& painter, const QRect& rect) const {
    if (bytes_.isEmpty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

void TMetafile::SaveToClipboard(QMimeData& data) const {
    TGraphic::SaveToClipboard(data);
    data.setData(QString::fromLatin1(kMimeType), bytes_);
}
