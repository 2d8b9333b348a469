#include "tests/imaging/support/test_jpeg_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace {

// The tests write only what libjpeg accepts; a refusal is a broken test.
void WriterError(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    std::fprintf(stderr, "test JPEG writer: %s\n", message);
    std::abort();
}

} // namespace

QImage TestPattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1),
                                (x + y) * 255 / std::max(1, width + height - 2)));
    return image;
}

QByteArray WriteTestJpeg(const QImage& source, const TestJpegOptions& options) {
    const QImage image = source.convertToFormat(options.grayscale ? QImage::Format_Grayscale8
                                                                  : QImage::Format_RGB888);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = WriterError;
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = options.grayscale ? 1 : options.cmyk ? 4 : 3;
    cinfo.in_color_space = options.grayscale ? JCS_GRAYSCALE : options.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (options.progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.restart_in_rows = options.restartRows;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(image.width()) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uchar* line = image.constScanLine(static_cast<int>(cinfo.next_scanline));
        JSAMPROW out = const_cast<unsigned char*>(line);
        if (options.cmyk) {
            // Inverted inks: the stored value of C, M and Y is the red,
            // green and blue they leave; K stored 255 is no black ink.
            for (int x = 0; x < image.width(); ++x) {
                for (int i = 0; i < 3; ++i)
                    row[4 * x + i] = line[3 * x + i];
                row[4 * x + 3] = 255;
            }
            out = row.data();
        }
        jpeg_write_scanlines(&cinfo, &out, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return bytes;
}
