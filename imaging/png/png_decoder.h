#pragma once
// Decodes the image data of a PNG file into 8-bit RGBA: inflates it row by
// row, unfilters each row and converts it, for plain and Adam7 images alike.

#include "imaging/png/png_image_info.h"

#include <cstdint>

// Writes width * height * 4 bytes to `rgba`, rows top to bottom.
void DecodePngImage(const TPngImageInfo& info, uint8_t* rgba);
