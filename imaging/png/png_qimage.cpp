#include "imaging/png/png_qimage.h"

#include <cstring>

QImage PngToQImage(const TPNGObject& png) {
    if (png.Empty())
        return QImage();
    QImage image(static_cast<int>(png.Width()), static_cast<int>(png.Height()),
                 QImage::Format_RGBA8888);
    const size_t rowBytes = size_t{png.Width()} * 4;
    for (uint32_t y = 0; y < png.Height(); ++y)
        std::memcpy(image.scanLine(static_cast<int>(y)), png.ScanLine(y), rowBytes);
    return image;
}
