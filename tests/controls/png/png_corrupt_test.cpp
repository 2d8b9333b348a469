// Corrupt and hostile PNG files: each is refused with its own error, the
// image being loaded into is left as it was, and nothing crashes.

#include "controls/png/png_errors.h"
#include "controls/png/png_object.h"
#include "tests/controls/png/support/test_png_encoder.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <zlib.h>

namespace {

TTestImage BaseImage(uint8_t colorType = 6, uint8_t bitDepth = 8) {
    TTestImage image;
    image.width = 5;
    image.height = 4;
    image.colorType = colorType;
    image.bitDepth = bitDepth;
    if (colorType == 3)
        image.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    image.samples = RandomSamples(image, 1);
    return image;
}

using Chunks = std::vector<TTestChunk>;

size_t IndexOf(const Chunks& chunks, const std::string& type) {
    for (size_t i = 0; i < chunks.size(); ++i) {
        if (chunks[i].type == type)
            return i;
    }
    throw std::logic_error("no " + type + " chunk");
}

std::vector<uint8_t> WithChunks(const TTestImage& image, const std::function<void(Chunks&)>& edit) {
    Chunks chunks = TestPngChunks(image);
    edit(chunks);
    return WriteTestPng(chunks);
}

std::vector<uint8_t> WithHeaderByte(size_t offset, uint8_t value) {
    return WithChunks(BaseImage(), [=](Chunks& c) { c[0].data[offset] = value; });
}

std::vector<uint8_t> WithImageData(const std::vector<uint8_t>& raw) {
    return WithChunks(BaseImage(), [&](Chunks& c) {
        uLongf size = compressBound(static_cast<uLong>(raw.size()));
        std::vector<uint8_t> z(size);
        compress2(z.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
        z.resize(size);
        c[IndexOf(c, "IDAT")].data = z;
    });
}

struct CorruptCase {
    std::string name;
    std::function<std::vector<uint8_t>()> bytes;
    std::type_index error;
};

template <class E> std::type_index Error() {
    return std::type_index(typeid(E));
}

std::vector<CorruptCase> Cases() {
    const TTestImage base = BaseImage();
    const std::vector<uint8_t> valid = EncodeTestPng(base);
    return {
        {"WrongSignature",
         [=] {
             auto b = valid;
             b[1] = 'Q';
             return b;
         },
         Error<EPNGInvalidSignature>()},
        {"TextFile", [] { return std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a'}; },
         Error<EPNGInvalidSignature>()},
        {"Empty", [] { return std::vector<uint8_t>{}; }, Error<EPNGUnexpectedEnd>()},
        {"SignatureOnly", [=] { return std::vector<uint8_t>(valid.begin(), valid.begin() + 8); },
         Error<EPNGUnexpectedEnd>()},
        {"FirstChunkNotHeader",
         [=] { return WithChunks(base, [](Chunks& c) { std::swap(c[0], c[1]); }); },
         Error<EPNGMissingHeader>()},
        {"UnknownCriticalChunk",
         [=] {
             return WithChunks(base, [](Chunks& c) { c.insert(c.begin() + 1, {"ZZZZ", {1, 2}}); });
         },
         Error<EPNGUnknownCriticalChunk>()},
        {"HeaderCrcMismatch",
         [=] { return WithChunks(base, [](Chunks& c) { c[0].badCrc = true; }); },
         Error<EPNGCRCMismatch>()},
        {"ImageDataCrcMismatch",
         [=] { return WithChunks(base, [](Chunks& c) { c[IndexOf(c, "IDAT")].badCrc = true; }); },
         Error<EPNGCRCMismatch>()},
        {"AncillaryCrcMismatch",
         [=] {
             return WithChunks(base, [](Chunks& c) {
                 c.insert(c.begin() + 1, {"tEXt", {'a', 0, 'b'}, true});
             });
         },
         Error<EPNGCRCMismatch>()},
        {"TruncatedInImageData",
         [=] { return std::vector<uint8_t>(valid.begin(), valid.begin() + 60); },
         Error<EPNGUnexpectedEnd>()},
        {"MissingEnd", [=] { return std::vector<uint8_t>(valid.begin(), valid.end() - 12); },
         Error<EPNGUnexpectedEnd>()},
        {"ChunkLongerThanTheFile",
         [=] {
             auto b = valid;
             b[8 + 25 + 3] = 0xF0; // length of the IDAT chunk
             return b;
         },
         Error<EPNGUnexpectedEnd>()},
        {"NoImageData",
         [=] {
             return WithChunks(base, [](Chunks& c) { c.erase(c.begin() + IndexOf(c, "IDAT")); });
         },
         Error<EPNGMissingImageData>()},
        {"GarbageImageData",
         [=] {
             return WithChunks(base, [](Chunks& c) {
                 c[IndexOf(c, "IDAT")].data = {0x78, 0x9C, 0xFF, 0xFF, 0xFF};
             });
         },
         Error<EPNGInvalidCompressedData>()},
        {"BadZlibHeader",
         [=] { return WithChunks(base, [](Chunks& c) { c[IndexOf(c, "IDAT")].data[0] = 0x00; }); },
         Error<EPNGInvalidCompressedData>()},
        {"CompressedStreamCutShort",
         [=] {
             return WithChunks(base, [](Chunks& c) {
                 auto& data = c[IndexOf(c, "IDAT")].data;
                 data.resize(data.size() / 2);
             });
         },
         Error<EPNGInvalidCompressedData>()},
        {"WrongChecksumOfCompressedData",
         [=] {
             return WithChunks(base, [](Chunks& c) { c[IndexOf(c, "IDAT")].data.back() ^= 1; });
         },
         Error<EPNGInvalidCompressedData>()},
        {"TooFewRows",
         [=] {
             auto raw = FilteredImageData(base);
             raw.resize(raw.size() - 21);
             return WithImageData(raw);
         },
         Error<EPNGInvalidCompressedData>()},
        {"IndexedWithoutPalette",
         [] {
             TTestImage image = BaseImage(3, 2);
             return WithChunks(image, [](Chunks& c) { c.erase(c.begin() + IndexOf(c, "PLTE")); });
         },
         Error<EPNGInvalidPalette>()},
        {"PaletteNotWholeEntries",
         [] {
             return WithChunks(BaseImage(3, 8),
                               [](Chunks& c) { c[IndexOf(c, "PLTE")].data.resize(10); });
         },
         Error<EPNGInvalidPalette>()},
        {"EmptyPalette",
         [] {
             return WithChunks(BaseImage(3, 8),
                               [](Chunks& c) { c[IndexOf(c, "PLTE")].data.clear(); });
         },
         Error<EPNGInvalidPalette>()},
        {"PaletteLargerThanBitDepth",
         [] {
             return WithChunks(BaseImage(3, 2),
                               [](Chunks& c) { c[IndexOf(c, "PLTE")].data.resize(15); });
         },
         Error<EPNGInvalidPalette>()},
        {"PaletteInGreyscaleImage",
         [] {
             return WithChunks(BaseImage(0, 8), [](Chunks& c) {
                 c.insert(c.begin() + 1, {"PLTE", {1, 2, 3}});
             });
         },
         Error<EPNGInvalidPalette>()},
        {"PaletteAfterImageData",
         [] {
             TTestImage image = BaseImage(2, 8);
             image.chunksAfterData = {{"PLTE", {1, 2, 3}}};
             return EncodeTestPng(image);
         },
         Error<EPNGInvalidPalette>()},
        {"TwoPalettes",
         [] {
             TTestImage image = BaseImage(3, 8);
             image.chunksBeforeData = {{"PLTE", image.palette}};
             return EncodeTestPng(image);
         },
         Error<EPNGInvalidPalette>()},
        {"BitDepthNotAllowed", [] { return WithHeaderByte(8, 4); }, Error<EPNGInvalidHeader>()},
        {"UnknownColourType", [] { return WithHeaderByte(9, 5); }, Error<EPNGInvalidHeader>()},
        {"ZeroWidth", [] { return WithHeaderByte(3, 0); }, Error<EPNGInvalidHeader>()},
        {"UnknownCompressionMethod", [] { return WithHeaderByte(10, 1); },
         Error<EPNGInvalidHeader>()},
        {"UnknownFilterMethod", [] { return WithHeaderByte(11, 1); }, Error<EPNGInvalidHeader>()},
        {"UnknownInterlaceMethod", [] { return WithHeaderByte(12, 2); },
         Error<EPNGInvalidHeader>()},
        {"ShortHeader", [=] { return WithChunks(base, [](Chunks& c) { c[0].data.resize(12); }); },
         Error<EPNGInvalidHeader>()},
        {"UnknownFilterType",
         [] {
             TTestImage image = BaseImage();
             image.filter = [](int, uint32_t row) { return uint8_t(row == 2 ? 5 : 1); };
             return EncodeTestPng(image);
         },
         Error<EPNGInvalidFilterType>()},
        {"ImageDataNotConsecutive",
         [] {
             TTestImage image = BaseImage();
             image.idatChunkSize = 8;
             return WithChunks(image, [](Chunks& c) {
                 c.insert(c.begin() + IndexOf(c, "IDAT") + 1, {"tEXt", {'k', 0, 'v'}});
             });
         },
         Error<EPNGInvalidChunk>()},
        {"TransparencyInAlphaImage",
         [] {
             TTestImage image = BaseImage(6, 8);
             image.transparency = std::vector<uint8_t>{0, 1, 0, 2, 0, 3};
             return EncodeTestPng(image);
         },
         Error<EPNGInvalidChunk>()},
        {"TransparencyOfWrongLength",
         [] {
             TTestImage image = BaseImage(2, 8);
             image.transparency = std::vector<uint8_t>{0, 1};
             return EncodeTestPng(image);
         },
         Error<EPNGInvalidChunk>()},
        {"TransparencyLongerThanPalette",
         [] {
             TTestImage image = BaseImage(3, 8);
             image.transparency = std::vector<uint8_t>(5, 0);
             return EncodeTestPng(image);
         },
         Error<EPNGInvalidChunk>()},
        {"TransparencyBeforePalette",
         [] {
             return WithChunks(BaseImage(3, 8), [](Chunks& c) {
                 c.insert(c.begin() + 1, {"tRNS", {0}});
             });
         },
         Error<EPNGInvalidChunk>()},
        {"GammaOfWrongLength",
         [=] {
             return WithChunks(base, [](Chunks& c) { c.insert(c.begin() + 1, {"gAMA", {0, 1}}); });
         },
         Error<EPNGInvalidChunk>()},
        {"TwoHeaders",
         [=] { return WithChunks(base, [](Chunks& c) { c.insert(c.begin() + 1, c[0]); }); },
         Error<EPNGInvalidChunk>()},
        {"EndNotEmpty", [=] { return WithChunks(base, [](Chunks& c) { c.back().data = {0}; }); },
         Error<EPNGInvalidChunk>()},
        {"ChunkTypeWithDigit",
         [=] { return WithChunks(base, [](Chunks& c) {
                   c.insert(c.begin() + 1, {"te5t", {}});
               }); },
         Error<EPNGInvalidChunk>()},
        {"ChunkLengthAbove2To31",
         [=] {
             auto b = valid;
             b[8 + 25] = 0x80; // first byte of the second chunk's length
             return b;
         },
         Error<EPNGInvalidChunk>()},
        {"WidthBeyondLimit",
         [] {
             return WithChunks(BaseImage(), [](Chunks& c) {
                 const auto w = BigEndian32(100000);
                 std::copy(w.begin(), w.end(), c[0].data.begin());
             });
         },
         Error<EPNGImageTooLarge>()},
        {"DecodedSizeBeyondLimit",
         [] {
             // 16000 x 16000 RGBA is within the width and height limits, not the size limit.
             return WithChunks(BaseImage(), [](Chunks& c) {
                 const auto side = BigEndian32(16000);
                 std::copy(side.begin(), side.end(), c[0].data.begin());
                 std::copy(side.begin(), side.end(), c[0].data.begin() + 4);
             });
         },
         Error<EPNGImageTooLarge>()},
    };
}

void PrintTo(const CorruptCase& c, std::ostream* os) {
    *os << c.name;
}

class PngCorruptTest : public testing::TestWithParam<CorruptCase> {};

TEST_P(PngCorruptTest, RaisesItsOwnErrorAndKeepsThePreviousImage) {
    TPNGObject png;
    png.LoadFromBytes(EncodeTestPng(BaseImage(2, 8)));
    const std::vector<uint8_t> before = png.Pixels();
    const std::vector<uint8_t> bytes = GetParam().bytes();
    try {
        png.LoadFromBytes(bytes);
        FAIL() << "no error";
    } catch (const EPNGError& e) {
        EXPECT_EQ(std::type_index(typeid(e)), GetParam().error) << e.what();
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_EQ(png.ColorType(), TPngColorType::Truecolor);
    EXPECT_EQ(png.Pixels(), before);
}

INSTANTIATE_TEST_SUITE_P(Files, PngCorruptTest, testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

TEST(PngCorruptMessageTest, NamesTheOffendingChunk) {
    const std::vector<uint8_t> bytes = WithChunks(BaseImage(), [](Chunks& c) {
        c.insert(c.begin() + 1, {"QxQx", {}});
    });
    TPNGObject png;
    try {
        png.LoadFromBytes(bytes);
        FAIL() << "no error";
    } catch (const EPNGUnknownCriticalChunk& e) {
        EXPECT_EQ(e.Message(), "Invalid PNG image: unknown critical chunk \"QxQx\"");
    }
}

TEST(PngCorruptLimitsTest, CallerLimitsApply) {
    const std::vector<uint8_t> bytes = EncodeTestPng(BaseImage()); // 5 x 4
    TPNGObject png;
    EXPECT_THROW(png.LoadFromBytes(bytes, TPngLimits{4, 100, 1 << 20}), EPNGImageTooLarge);
    EXPECT_THROW(png.LoadFromBytes(bytes, TPngLimits{100, 3, 1 << 20}), EPNGImageTooLarge);
    EXPECT_THROW(png.LoadFromBytes(bytes, TPngLimits{100, 100, 5 * 4 * 4 - 1}), EPNGImageTooLarge);
    EXPECT_NO_THROW(png.LoadFromBytes(bytes, TPngLimits{5, 4, 5 * 4 * 4 + 4 * 21}));
}

// Every prefix of a valid file, and every single flipped byte, is refused
// with a decoder error (or, for a flip in ignorable places, decodes) - never
// anything else.
TEST(PngCorruptSweepTest, TruncationsAndFlippedBytesOnlyRaiseDecoderErrors) {
    TTestImage image = BaseImage(3, 4);
    image.interlaced = true;
    image.transparency = std::vector<uint8_t>{0, 128};
    image.gamma = 50000;
    image.chunksAfterData = {{"tEXt", {'k', 0, 'v'}}};
    const std::vector<uint8_t> valid = EncodeTestPng(image);
    for (size_t size = 0; size < valid.size(); ++size) {
        TPNGObject png;
        EXPECT_THROW(png.LoadFromBytes(std::span(valid.data(), size)), EPNGError) << size;
    }
    for (size_t i = 0; i < valid.size(); ++i) {
        auto bytes = valid;
        bytes[i] ^= 0x5A;
        TPNGObject png;
        try {
            png.LoadFromBytes(bytes);
        } catch (const EPNGError&) {
        }
    }
}

} // namespace
