#pragma once
// TPNGObject: a PNG image held as its chunk list plus the decoded 8-bit RGBA
// pixels; loads and saves PNG file bytes, copies, and gives access to chunks.

#include "imaging/png/png_chunk.h"
#include "imaging/png/png_gamma.h"
#include "imaging/png/png_header.h"
#include "imaging/png/png_image_info.h"
#include "imaging/png/png_text.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// How the image shows what is behind it.
enum class TPngTransparency {
    None,        // opaque
    SingleColor, // greyscale/truecolour tRNS, or an indexed tRNS of only 0 and 255
    Alpha,       // colour types 4 and 6, or an indexed tRNS with other values
};

class TPNGObject {
public:
    TPNGObject() = default;

    // Replaces the image; on any error the object is left as it was.
    void LoadFromBytes(std::span<const uint8_t> bytes, const TPngLimits& limits = {});
    void LoadFromFile(const std::string& path, const TPngLimits& limits = {});
    // The PNG file of the kept chunks; empty for an empty image.
    std::vector<uint8_t> SaveToBytes() const;
    void SaveToFile(const std::string& path) const;

    // An 8-bit truecolour image (colour type 6 with alpha, else 2) from RGBA rows.
    static TPNGObject FromRgba(uint32_t width, uint32_t height, const uint8_t* rgba,
                               bool withAlpha);

    // Copies `source`, or empties this image when it is null.
    void Assign(const TPNGObject* source);
    void Clear();
    bool Empty() const { return chunks_.empty(); }

    uint32_t Width() const { return info_.header.width; }
    uint32_t Height() const { return info_.header.height; }
    // Refused: the size follows from the image, which can only be replaced.
    [[noreturn]] void SetWidth(uint32_t width);
    [[noreturn]] void SetHeight(uint32_t height);

    const TPngHeader& Header() const { return info_.header; }
    TPngColorType ColorType() const { return info_.header.colorType; }
    int BitDepth() const { return info_.header.bitDepth; }
    bool Interlaced() const { return info_.header.interlaced; }
    TPngTransparency Transparency() const;
    const std::vector<TPngColor>& Palette() const { return info_.palette; }
    const std::vector<uint8_t>& PaletteAlpha() const { return info_.paletteAlpha; }
    // The gAMA value, 0 without the chunk, and the table built from it.
    uint32_t Gamma() const { return info_.gamma; }
    TPngGammaTable GammaTable() const { return BuildPngGammaTable(info_.gamma); }

    // Decoded pixels: 4 bytes (R, G, B, A) per pixel, Width() * 4 bytes per row.
    const std::vector<uint8_t>& Pixels() const { return pixels_; }
    const uint8_t* ScanLine(uint32_t y) const { return pixels_.data() + size_t{y} * Width() * 4; }

    // The chunks in file order as they will be saved (cHRM is not kept).
    const std::vector<TPngChunk>& Chunks() const { return chunks_; }
    const TPngChunk* FindChunk(std::string_view type) const;
    // Removes every ancillary chunk of `type` and returns how many went;
    // removing gAMA or tRNS decodes the pixels again without it. Critical
    // chunks cannot be removed.
    size_t RemoveChunk(std::string_view type);

    // tEXt and zTXt chunks in file order; malformed ones are left out.
    std::vector<TPngText> Texts() const;
    // The tIME chunk, if there is a well-formed one.
    std::optional<TPngTime> ModificationTime() const;

private:
    void Decode(const TPngLimits& limits);

    std::vector<TPngChunk> chunks_;
    TPngImageInfo info_; // imageData is only valid while decoding
    std::vector<uint8_t> pixels_;
};
