#include "imaging/png/png_image_info.h"

#include "imaging/png/png_errors.h"

#include <string>

namespace {

void ReadPalette(TPngImageInfo& info, const TPngChunk& chunk) {
    const TPngColorType colorType = info.header.colorType;
    if (colorType == TPngColorType::Grayscale || colorType == TPngColorType::GrayscaleAlpha)
        throw EPNGInvalidPalette("a greyscale image cannot have a palette");
    if (!info.palette.empty())
        throw EPNGInvalidPalette("more than one PLTE chunk");
    const size_t size = chunk.data.size();
    if (size == 0 || size % 3 != 0 || size / 3 > 256)
        throw EPNGInvalidPalette("PLTE must hold 1 to 256 entries of 3 bytes, not " +
                                 std::to_string(size) + " bytes");
    const size_t entries = size / 3;
    if (colorType == TPngColorType::Indexed && entries > (size_t{1} << info.header.bitDepth))
        throw EPNGInvalidPalette(std::to_string(entries) + " entries do not fit bit depth " +
                                 std::to_string(info.header.bitDepth));
    info.palette.resize(entries);
    for (size_t i = 0; i < entries; ++i)
        info.palette[i] = {chunk.data[3 * i], chunk.data[3 * i + 1], chunk.data[3 * i + 2]};
}

void ReadTransparency(TPngImageInfo& info, const TPngChunk& chunk, bool seen) {
    const std::vector<uint8_t>& d = chunk.data;
    if (seen)
        throw EPNGInvalidChunk("tRNS", "appears more than once");
    switch (info.header.colorType) {
    case TPngColorType::Grayscale:
        if (d.size() != 2)
            throw EPNGInvalidChunk("tRNS", "must hold 2 bytes for a greyscale image");
        info.hasTransparentColor = true;
        info.transparentGray = ReadBigEndian16(d.data());
        break;
    case TPngColorType::Truecolor:
        if (d.size() != 6)
            throw EPNGInvalidChunk("tRNS", "must hold 6 bytes for a truecolour image");
        info.hasTransparentColor = true;
        info.transparentRed = ReadBigEndian16(d.data());
        info.transparentGreen = ReadBigEndian16(d.data() + 2);
        info.transparentBlue = ReadBigEndian16(d.data() + 4);
        break;
    case TPngColorType::Indexed:
        if (info.palette.empty())
            throw EPNGInvalidChunk("tRNS", "comes before PLTE");
        if (d.size() > info.palette.size())
            throw EPNGInvalidChunk("tRNS", "holds more entries than the palette");
        info.paletteAlpha = d;
        break;
    default:
        throw EPNGInvalidChunk("tRNS", "is not allowed in an image with an alpha channel");
    }
}

} // namespace

TPngImageInfo InterpretPngChunks(const std::vector<TPngChunk>& chunks) {
    TPngImageInfo info;
    info.header = ParsePngHeader(chunks.front().data.data(), chunks.front().data.size());
    bool seenTransparency = false;
    bool seenGamma = false;
    bool imageDataEnded = false;
    for (size_t i = 1; i < chunks.size(); ++i) {
        const TPngChunk& chunk = chunks[i];
        const std::string& type = chunk.type;
        const bool seenImageData = !info.imageData.empty();
        if (type != "IDAT" && seenImageData)
            imageDataEnded = true;
        if (type == "IDAT") {
            if (imageDataEnded)
                throw EPNGInvalidChunk("IDAT", "chunks are not consecutive");
            if (info.header.colorType == TPngColorType::Indexed && info.palette.empty())
                throw EPNGInvalidPalette("an indexed-colour image needs a PLTE chunk");
            info.imageData.emplace_back(chunk.data.data(), chunk.data.size());
        } else if (type == "IEND") {
            if (!seenImageData)
                throw EPNGMissingImageData();
            if (!chunk.data.empty())
                throw EPNGInvalidChunk("IEND", "must be empty");
        } else if (type == "IHDR") {
            throw EPNGInvalidChunk("IHDR", "appears more than once");
        } else if (type == "PLTE") {
            if (seenImageData)
                throw EPNGInvalidPalette("PLTE comes after the image data");
            ReadPalette(info, chunk);
        } else if (type == "tRNS") {
            if (seenImageData)
                throw EPNGInvalidChunk("tRNS", "comes after the image data");
            ReadTransparency(info, chunk, seenTransparency);
            seenTransparency = true;
        } else if (type == "gAMA") {
            if (seenImageData)
                throw EPNGInvalidChunk("gAMA", "comes after the image data");
            if (seenGamma)
                throw EPNGInvalidChunk("gAMA", "appears more than once");
            if (chunk.data.size() != 4)
                throw EPNGInvalidChunk("gAMA", "must hold 4 bytes");
            info.gamma = ReadBigEndian32(chunk.data.data());
            seenGamma = true;
        } else if (IsCriticalChunk(type)) {
            throw EPNGUnknownCriticalChunk(type);
        }
    }
    return info;
}
