#include "controls/dbimage/blob_format.h"

#include "imaging/graphics/bitmap.h"
#include "imaging/graphics/icon.h"
#include "imaging/graphics/little_endian.h"
#include "imaging/graphics/metafile.h"
#include "imaging/jpeg/jpeg_image.h"

TBlobFormat BlobFormat(QByteArrayView blob) {
    if (blob.size() <= 2)
        return TBlobFormat::Unknown;
    switch (ReadLE16(blob, 0)) {
    case 0x0000:
        return TBlobFormat::Icon;
    case 0x0001:
        return TBlobFormat::BlobBitmap;
    case 0x4D42:
        return TBlobFormat::Bitmap;
    case 0xCDD7:
        return TBlobFormat::Metafile;
    case 0xD8FF:
        return TBlobFormat::Jpeg;
    default:
        return TBlobFormat::Unknown;
    }
}

std::unique_ptr<TGraphic> NewGraphic(TBlobFormat format) {
    switch (format) {
    case TBlobFormat::Icon:
        return std::make_unique<TIcon>();
    case TBlobFormat::Bitmap:
        return std::make_unique<TBitmap>();
    case TBlobFormat::Metafile:
        return std::make_unique<TMetafile>();
    case TBlobFormat::Jpeg:
        return std::make_unique<TJPEGImage>();
    case TBlobFormat::Unknown:
    case TBlobFormat::BlobBitmap:
        break;
    }
    return nullptr;
}
