#pragma once
// The graphic a blob holds, told by its first two bytes read as a 16-bit
// little-endian number.

#include "imaging/graphics/graphic.h"

#include <QByteArrayView>
#include <memory>

enum class TBlobFormat {
    Unknown,    // 2 bytes or fewer, or a number not below
    Icon,       // 00 00: a Windows icon resource
    BlobBitmap, // 01 00: a bitmap the picture loads from the blob itself
    Bitmap,     // 42 4D ("BM"): a BMP file
    Metafile,   // D7 CD: a placeable metafile
    Jpeg,       // FF D8: a JPEG image
};

TBlobFormat BlobFormat(QByteArrayView blob);

// An empty graphic of the format's class; null for Unknown and BlobBitmap.
std::unique_ptr<TGraphic> NewGraphic(TBlobFormat format);
