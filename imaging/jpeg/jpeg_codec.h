#pragma once
// Reading JPEG data with libjpeg: the header alone (size, colour, progressive
// encoding) or the whole image. libjpeg's errors come back as EJPEG; its
// warnings about damaged data are not printed (the damaged part decodes grey).

#include "imaging/graphics/graphic.h"

#include <QByteArrayView>
#include <QImage>

class EJPEG : public EInvalidGraphic {
public:
    using EInvalidGraphic::EInvalidGraphic;
};

struct TJpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;
    bool grayscale = false;
    bool progressive = false;
};

// Bounds on what decoding takes on: pixels of the image, and scans of a
// progressive one (each scan costs a pass over the whole image).
struct TJpegLimits {
    qint64 maxPixels = 120'000'000;
    int maxScans = 1000;
};

// Reads the markers up to the first scan. Raises EJPEG.
TJpegHeader ReadJpegHeader(QByteArrayView bytes);

// Decodes the image: 8-bit grey for grey-scale data, RGB otherwise (CMYK and
// YCCK converted). Raises EJPEG for data libjpeg refuses and for images over
// the limits.
QImage DecodeJpeg(QByteArrayView bytes, const TJpegLimits& limits = {});
