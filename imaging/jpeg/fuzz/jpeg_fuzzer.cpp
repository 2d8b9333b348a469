// Feeds arbitrary bytes to the JPEG header reading, and decodes the small
// images among them so that libjpeg's errors are met while decoding too.
// Refusing the input with EJPEG is fine; anything else that escapes, a
// sanitizer report, or a process that ends inside libjpeg is a bug.

#include "imaging/jpeg/jpeg_codec.h"
#include "imaging/jpeg/jpeg_image.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Small limits keep each run fast; the limit checks are exercised all the same.
const TJpegLimits fuzzLimits{qint64{1} << 16, 64};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TJPEGImage image;
    try {
        image.LoadFromBytes(bytes);
    } catch (const EJPEG&) {
        return 0;
    }
    // libjpeg refuses an image without a size.
    if (image.Width() <= 0 || image.Height() <= 0 || image.Empty())
        std::abort();
    try {
        const QImage pixels = DecodeJpeg(bytes, fuzzLimits);
        if (pixels.width() != image.Width() || pixels.height() != image.Height())
            std::abort();
    } catch (const EJPEG&) {
    }
    return 0;
}
