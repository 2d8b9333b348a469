#include "imaging/png/png_object.h"

#include "imaging/png/png_chunk_reader.h"
#include "imaging/png/png_decoder.h"
#include "imaging/png/png_errors.h"
#include "imaging/png/png_text.h"
#include "imaging/png/png_writer.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>

void TPNGObject::LoadFromBytes(std::span<const uint8_t> bytes, const TPngLimits& limits) {
    TPNGObject loaded;
    loaded.chunks_ = ReadPngChunks(bytes.data(), bytes.size());
    loaded.Decode(limits);
    // cHRM was checked with the rest but is not kept.
    std::erase_if(loaded.chunks_, [](const TPngChunk& chunk) { return chunk.type == "cHRM"; });
    *this = std::move(loaded);
}

void TPNGObject::LoadFromFile(const std::string& path, const TPngLimits& limits) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw EPNGError("Cannot open the PNG file \"" + path + "\"");
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    LoadFromBytes(bytes, limits);
}

std::vector<uint8_t> TPNGObject::SaveToBytes() const {
    if (Empty())
        return {};
    return WritePngFile(chunks_);
}

void TPNGObject::SaveToFile(const std::string& path) const {
    const std::vector<uint8_t> bytes = SaveToBytes();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file)
        throw EPNGError("Cannot write the PNG file \"" + path + "\"");
}

TPNGObject TPNGObject::FromRgba(uint32_t width, uint32_t height, const uint8_t* rgba,
                                bool withAlpha) {
    TPNGObject image;
    image.chunks_ = EncodePngRgba(width, height, rgba, withAlpha);
    image.Decode(TPngLimits{width, height, std::numeric_limits<uint64_t>::max()});
    return image;
}

void TPNGObject::Assign(const TPNGObject* source) {
    if (source == nullptr)
        Clear();
    else if (source != this)
        *this = *source;
}

void TPNGObject::Clear() {
    *this = TPNGObject();
}

void TPNGObject::SetWidth(uint32_t) {
    throw EPNGSizeNotSettable();
}

void TPNGObject::SetHeight(uint32_t) {
    throw EPNGSizeNotSettable();
}

TPngTransparency TPNGObject::Transparency() const {
    switch (info_.header.colorType) {
    case TPngColorType::GrayscaleAlpha:
    case TPngColorType::TruecolorAlpha:
        return TPngTransparency::Alpha;
    case TPngColorType::Indexed: {
        if (info_.paletteAlpha.empty())
            return TPngTransparency::None;
        const bool partial = std::any_of(info_.paletteAlpha.begin(), info_.paletteAlpha.end(),
                                         [](uint8_t a) { return a != 0 && a != 255; });
        return partial ? TPngTransparency::Alpha : TPngTransparency::SingleColor;
    }
    default:
        return info_.hasTransparentColor ? TPngTransparency::SingleColor : TPngTransparency::None;
    }
}

const TPngChunk* TPNGObject::FindChunk(std::string_view type) const {
    const auto it = std::find_if(chunks_.begin(), chunks_.end(),
                                 [&](const TPngChunk& chunk) { return chunk.type == type; });
    return it == chunks_.end() ? nullptr : &*it;
}

size_t TPNGObject::RemoveChunk(std::string_view type) {
    if (IsCriticalChunk(type))
        throw EPNGInvalidChunk(std::string(type), "is critical and cannot be removed");
    const size_t removed =
        std::erase_if(chunks_, [&](const TPngChunk& c) { return c.type == type; });
    // Both change the decoded pixels; the image passed the limits already.
    if (removed > 0 && (type == "gAMA" || type == "tRNS"))
        Decode(TPngLimits{Width(), Height(), std::numeric_limits<uint64_t>::max()});
    return removed;
}

std::vector<TPngText> TPNGObject::Texts() const {
    std::vector<TPngText> texts;
    for (const TPngChunk& chunk : chunks_) {
        if (std::optional<TPngText> text = ParsePngTextChunk(chunk))
            texts.push_back(std::move(*text));
    }
    return texts;
}

std::optional<TPngTime> TPNGObject::ModificationTime() const {
    const TPngChunk* chunk = FindChunk("tIME");
    return chunk ? ParsePngTimeChunk(*chunk) : std::nullopt;
}

void TPNGObject::Decode(const TPngLimits& limits) {
    TPngImageInfo info = InterpretPngChunks(chunks_);
    CheckPngLimits(info.header, limits);
    std::vector<uint8_t> pixels(size_t{info.header.width} * info.header.height * 4);
    DecodePngImage(info, pixels.data());
    // The spans point into chunks_ and would dangle in a copy.
    info.imageData.clear();
    info_ = std::move(info);
    pixels_ = std::move(pixels);
}
