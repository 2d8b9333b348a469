#include "controls/pngbutton/png_image_list.h"

#include "imaging/png/png_qimage.h"

int TPngImageList::AddPng(const TPNGObject& png) {
    images_.push_back(png);
    return Count() - 1;
}

TImageListIcon TPngImageList::GetIcon(int index) const {
    const QImage rgba = PngToQImage(PngImage(index));
    TImageListIcon icon{rgba.convertToFormat(QImage::Format_RGB32),
                        QImage(rgba.size(), QImage::Format_RGB32)};
    for (int y = 0; y < rgba.height(); ++y)
        for (int x = 0; x < rgba.width(); ++x)
            icon.mask.setPixel(x, y,
                               qAlpha(rgba.pixel(x, y)) == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return icon;
}
