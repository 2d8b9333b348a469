#include "imaging/png/png_decoder.h"

#include "imaging/png/png_errors.h"
#include "imaging/png/png_inflater.h"
#include "imaging/png/png_pixel_converter.h"
#include "imaging/png/png_unfilter.h"

#include <algorithm>
#include <utility>
#include <vector>

void DecodePngImage(const TPngImageInfo& info, uint8_t* rgba) {
    const TPngHeader& header = info.header;
    const TPngPixelConverter converter(info);
    TPngInflater inflater(info.imageData);
    const int stride = header.FilterStride();
    const size_t outRowBytes = size_t{header.width} * 4;
    const size_t maxRowBytes = static_cast<size_t>(header.RowBytes(header.width)) + 1;
    std::vector<uint8_t> rowA(maxRowBytes);
    std::vector<uint8_t> rowB(maxRowBytes);

    for (const TPngPass& pass : PngPasses(header)) {
        if (pass.width == 0 || pass.height == 0)
            continue;
        const size_t rowBytes = static_cast<size_t>(header.RowBytes(pass.width));
        uint8_t* current = rowA.data();
        uint8_t* previous = rowB.data();
        // The row above the first row of each pass counts as zeros.
        std::fill_n(previous, rowBytes + 1, uint8_t{0});
        for (uint32_t y = 0; y < pass.height; ++y) {
            inflater.Read(current, rowBytes + 1);
            const uint8_t filterType = current[0];
            if (filterType > 4)
                throw EPNGInvalidFilterType(filterType);
            UnfilterPngRow(filterType, current + 1, previous + 1, rowBytes, stride);
            const size_t outY = size_t{pass.yStart} + size_t{y} * pass.yStep;
            converter.ConvertRow(current + 1, pass.width,
                                 rgba + outY * outRowBytes + size_t{pass.xStart} * 4,
                                 size_t{pass.xStep} * 4);
            std::swap(current, previous);
        }
    }
    inflater.Finish();
}
