#include "imaging/png/png_pixel_converter.h"

#include <cstring>

TPngPixelConverter::TPngPixelConverter(const TPngImageInfo& info)
    : header_(info.header), gamma_(BuildPngGammaTable(info.gamma)),
      identityGamma_(IsIdentityGammaTable(gamma_)), hasTransparentColor_(info.hasTransparentColor),
      transparentGray_(info.transparentGray), transparentRed_(info.transparentRed),
      transparentGreen_(info.transparentGreen), transparentBlue_(info.transparentBlue) {
    if (header_.colorType == TPngColorType::Indexed) {
        // Indexes beyond the palette show opaque black rather than reading past it.
        for (size_t i = 0; i < 256; ++i) {
            if (i < info.palette.size()) {
                const TPngColor& c = info.palette[i];
                lookup_[i] = {gamma_[c.red], gamma_[c.green], gamma_[c.blue],
                              i < info.paletteAlpha.size() ? info.paletteAlpha[i] : uint8_t{255}};
            } else {
                lookup_[i] = {0, 0, 0, 255};
            }
        }
    } else if (header_.colorType == TPngColorType::Grayscale && header_.bitDepth <= 8) {
        const unsigned maxSample = (1u << header_.bitDepth) - 1;
        for (unsigned s = 0; s <= maxSample; ++s) {
            const uint8_t v = gamma_[s * 255 / maxSample];
            const bool transparent = hasTransparentColor_ && s == transparentGray_;
            lookup_[s] = {v, v, v, transparent ? uint8_t{0} : uint8_t{255}};
        }
    }
}

void TPngPixelConverter::ConvertRow(const uint8_t* src, uint32_t count, uint8_t* dst,
                                    size_t dstStep) const {
    switch (header_.colorType) {
    case TPngColorType::Indexed:
        ConvertLookup(src, count, dst, dstStep);
        break;
    case TPngColorType::Grayscale:
        if (header_.bitDepth == 16)
            ConvertGray16(src, count, dst, dstStep);
        else
            ConvertLookup(src, count, dst, dstStep);
        break;
    case TPngColorType::GrayscaleAlpha:
        ConvertGrayAlpha(src, count, dst, dstStep);
        break;
    case TPngColorType::Truecolor:
        ConvertTruecolor(src, count, dst, dstStep);
        break;
    case TPngColorType::TruecolorAlpha:
        ConvertTruecolorAlpha(src, count, dst, dstStep);
        break;
    }
}

void TPngPixelConverter::ConvertLookup(const uint8_t* src, uint32_t count, uint8_t* dst,
                                       size_t dstStep) const {
    const int depth = header_.bitDepth;
    if (depth == 8) {
        for (uint32_t i = 0; i < count; ++i)
            std::memcpy(dst + i * dstStep, lookup_[src[i]].data(), 4);
        return;
    }
    // Samples are packed from the most significant bit of each byte.
    const unsigned mask = (1u << depth) - 1;
    const unsigned perByte = 8 / depth;
    for (uint32_t i = 0; i < count; ++i) {
        const unsigned shift = 8 - depth - (i % perByte) * depth;
        const unsigned sample = (src[i / perByte] >> shift) & mask;
        std::memcpy(dst + i * dstStep, lookup_[sample].data(), 4);
    }
}

void TPngPixelConverter::ConvertGray16(const uint8_t* src, uint32_t count, uint8_t* dst,
                                       size_t dstStep) const {
    for (uint32_t i = 0; i < count; ++i, src += 2, dst += dstStep) {
        const uint8_t v = gamma_[src[0]];
        const bool transparent = hasTransparentColor_ && ReadBigEndian16(src) == transparentGray_;
        dst[0] = dst[1] = dst[2] = v;
        dst[3] = transparent ? 0 : 255;
    }
}

void TPngPixelConverter::ConvertGrayAlpha(const uint8_t* src, uint32_t count, uint8_t* dst,
                                          size_t dstStep) const {
    const size_t srcStep = header_.bitDepth == 16 ? 4 : 2;
    const size_t alphaOffset = srcStep / 2;
    for (uint32_t i = 0; i < count; ++i, src += srcStep, dst += dstStep) {
        const uint8_t v = gamma_[src[0]];
        dst[0] = dst[1] = dst[2] = v;
        dst[3] = src[alphaOffset];
    }
}

void TPngPixelConverter::ConvertTruecolor(const uint8_t* src, uint32_t count, uint8_t* dst,
                                          size_t dstStep) const {
    if (header_.bitDepth == 8) {
        const uint8_t tr = static_cast<uint8_t>(transparentRed_);
        const uint8_t tg = static_cast<uint8_t>(transparentGreen_);
        const uint8_t tb = static_cast<uint8_t>(transparentBlue_);
        // A transparent colour beyond 8 bits can never match an 8-bit sample.
        const bool keyed = hasTransparentColor_ && transparentRed_ < 256 &&
                           transparentGreen_ < 256 && transparentBlue_ < 256;
        for (uint32_t i = 0; i < count; ++i, src += 3, dst += dstStep) {
            const bool transparent = keyed && src[0] == tr && src[1] == tg && src[2] == tb;
            dst[0] = gamma_[src[0]];
            dst[1] = gamma_[src[1]];
            dst[2] = gamma_[src[2]];
            dst[3] = transparent ? 0 : 255;
        }
        return;
    }
    for (uint32_t i = 0; i < count; ++i, src += 6, dst += dstStep) {
        const bool transparent = hasTransparentColor_ && ReadBigEndian16(src) == transparentRed_ &&
                                 ReadBigEndian16(src + 2) == transparentGreen_ &&
                                 ReadBigEndian16(src + 4) == transparentBlue_;
        dst[0] = gamma_[src[0]];
        dst[1] = gamma_[src[2]];
        dst[2] = gamma_[src[4]];
        dst[3] = transparent ? 0 : 255;
    }
}

void TPngPixelConverter::ConvertTruecolorAlpha(const uint8_t* src, uint32_t count, uint8_t* dst,
                                               size_t dstStep) const {
    if (header_.bitDepth == 8) {
        if (identityGamma_ && dstStep == 4) {
            std::memcpy(dst, src, size_t{count} * 4);
            return;
        }
        for (uint32_t i = 0; i < count; ++i, src += 4, dst += dstStep) {
            dst[0] = gamma_[src[0]];
            dst[1] = gamma_[src[1]];
            dst[2] = gamma_[src[2]];
            dst[3] = src[3];
        }
        return;
    }
    for (uint32_t i = 0; i < count; ++i, src += 8, dst += dstStep) {
        dst[0] = gamma_[src[0]];
        dst[1] = gamma_[src[2]];
        dst[2] = gamma_[src[4]];
        dst[3] = src[6];
    }
}
