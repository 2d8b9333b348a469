#pragma once
// The photographs of the benchmarks: a small JPEG (whose header the image
// control parses on every record) followed by bytes that differ from one
// photograph to the next, `size` bytes in all.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdint>

inline QByteArray BenchPhoto(int index, int size) {
    static const QByteArray jpeg = [] {
        QImage image(64, 48, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 4, y * 5, (x + y) * 2));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG");
        return bytes;
    }();
    QByteArray bytes = jpeg;
    bytes.reserve(size);
    uint32_t seed = 2654435761u * uint32_t(index + 1);
    while (bytes.size() < size) {
        seed = seed * 1664525u + 1013904223u;
        bytes.append(static_cast<char>(seed >> 24));
    }
    return bytes;
}
