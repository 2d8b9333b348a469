#include "tests/imaging/support/test_images.h"

#include <QBuffer>

namespace {

QByteArray Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

void Put16(QByteArray& out, uint16_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void Put32(QByteArray& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

} // namespace

QByteArray BmpFile(const QImage& image) {
    return Encode(image, "BMP");
}

QByteArray IcoFile(const QImage& image) {
    return Encode(image, "ICO");
}

QByteArray PngFile(const QImage& image) {
    return Encode(image, "PNG");
}

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray PlaceableMetafile(const MetafileHeader& h) {
    QByteArray out;
    Put32(out, h.key);
    Put16(out, 0); // hmf
    Put16(out, static_cast<uint16_t>(h.left));
    Put16(out, static_cast<uint16_t>(h.top));
    Put16(out, static_cast<uint16_t>(h.right));
    Put16(out, static_cast<uint16_t>(h.bottom));
    Put16(out, h.inch);
    Put32(out, 0); // reserved
    uint16_t sum = 0;
    for (int at = 0; at < 20; at += 2)
        sum ^= static_cast<uint16_t>(static_cast<uint8_t>(out[at]) |
                                     static_cast<uint8_t>(out[at + 1]) << 8);
    Put16(out, static_cast<uint16_t>(sum + h.checksumDelta));
    // The metafile header: type, header size, version, size in words,
    // objects, largest record, parameters.
    Put16(out, h.type);
    Put16(out, h.headerWords);
    Put16(out, 0x0300);
    Put32(out, 9 + 3);
    Put16(out, 0);
    Put32(out, 3);
    Put16(out, 0);
    // The end-of-file record.
    Put32(out, 3);
    Put16(out, 0);
    return out;
}
