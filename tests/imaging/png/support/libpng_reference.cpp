#include "tests/imaging/png/support/libpng_reference.h"

#include <csetjmp>
#include <cstring>
#include <png.h>
#include <stdexcept>
#include <string>

namespace {

struct Reader {
    std::span<const uint8_t> bytes;
    size_t pos = 0;
    std::string error;
};

void ReadData(png_structp png, png_bytep out, png_size_t size) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (reader->bytes.size() - reader->pos < size)
        png_error(png, "read past the end");
    std::memcpy(out, reader->bytes.data() + reader->pos, size);
    reader->pos += size;
}

void OnError(png_structp png, png_const_charp message) {
    static_cast<Reader*>(png_get_error_ptr(png))->error = message;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

} // namespace

TReferenceImage DecodeWithLibpng(std::span<const uint8_t> bytes,
                                 std::optional<double> screenGamma) {
    Reader reader{bytes, 0, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, OnError, OnWarning);
    png_infop info = png_create_info_struct(png);
    TReferenceImage image;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw std::runtime_error("libpng: " + reader.error);
    }
    png_set_read_fn(png, &reader, ReadData);
    png_read_info(png, info);
    const png_byte colorType = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    if (screenGamma) {
        // The file gamma is given here again; without gAMA it is 1 / screen
        // gamma, which means no correction.
        double fileGamma = 1.0 / *screenGamma;
        png_get_gAMA(png, info, &fileGamma);
        png_set_gamma(png, *screenGamma, fileGamma);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    image.width = png_get_image_width(png, info);
    image.height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != size_t{image.width} * 4)
        png_error(png, "unexpected row size after the transformations");
    image.rgba.resize(size_t{image.width} * image.height * 4);
    rows.resize(image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        rows[y] = image.rgba.data() + size_t{y} * image.width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return image;
}
