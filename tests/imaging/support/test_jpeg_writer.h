#pragma once
// JPEG files for tests and fuzz seeds, written by libjpeg itself.

#include <QByteArray>
#include <QImage>

struct TestJpegOptions {
    bool grayscale = false;
    bool progressive = false;
    // CMYK as Adobe writes it (inks inverted, Adobe marker), no black ink.
    bool cmyk = false;
    int quality = 90;
    // A restart marker every this many MCU rows; 0 for none.
    int restartRows = 0;
};

// Encodes `image` (converted to 8-bit RGB or grey first).
QByteArray WriteTestJpeg(const QImage& image, const TestJpegOptions& options = {});

// A width x height picture with smooth colour ramps, so that damage shows.
QImage TestPattern(int width, int height);
