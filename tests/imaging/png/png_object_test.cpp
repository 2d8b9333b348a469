// TPNGObject beyond pixel decoding: empty state, refused size changes,
// copies, the chunk list and its editing, saving, files and transparency kinds.

#include "imaging/png/png_errors.h"
#include "imaging/png/png_object.h"
#include "tests/imaging/png/support/test_png_encoder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

TTestImage Image(uint8_t colorType, uint8_t bitDepth, uint32_t seed = 1) {
    TTestImage image;
    image.width = 6;
    image.height = 5;
    image.colorType = colorType;
    image.bitDepth = bitDepth;
    if (colorType == 3)
        image.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90, 200, 210, 220};
    image.samples = RandomSamples(image, seed);
    return image;
}

TPNGObject Load(const std::vector<uint8_t>& bytes) {
    TPNGObject png;
    png.LoadFromBytes(bytes);
    return png;
}

std::vector<std::string> ChunkTypes(const TPNGObject& png) {
    std::vector<std::string> types;
    for (const TPngChunk& chunk : png.Chunks())
        types.push_back(chunk.type);
    return types;
}

std::vector<uint8_t> Deflate(const std::string& text) {
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, reinterpret_cast<const Bytef*>(text.data()),
              static_cast<uLong>(text.size()), 9);
    out.resize(size);
    return out;
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST(PngObjectTest, NewObjectIsEmpty) {
    TPNGObject png;
    EXPECT_TRUE(png.Empty());
    EXPECT_EQ(png.Width(), 0u);
    EXPECT_EQ(png.Height(), 0u);
    EXPECT_TRUE(png.Pixels().empty());
    EXPECT_TRUE(png.Chunks().empty());
    EXPECT_TRUE(png.SaveToBytes().empty());
}

TEST(PngObjectTest, SettingWidthOrHeightIsRefused) {
    TPNGObject png = Load(EncodeTestPng(Image(6, 8)));
    EXPECT_THROW(png.SetWidth(10), EPNGSizeNotSettable);
    EXPECT_THROW(png.SetHeight(10), EPNGSizeNotSettable);
    TPNGObject empty;
    EXPECT_THROW(empty.SetWidth(1), EPNGSizeNotSettable);
    EXPECT_EQ(png.Width(), 6u);
    EXPECT_EQ(png.Height(), 5u);
}

TEST(PngObjectTest, AssignCopiesAndNullEmpties) {
    TTestImage image = Image(2, 8);
    image.gamma = 100000;
    TPNGObject source = Load(EncodeTestPng(image));
    TPNGObject copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.Pixels(), source.Pixels());
    EXPECT_EQ(ChunkTypes(copy), ChunkTypes(source));
    // The copy is independent: editing the source leaves it alone.
    source.RemoveChunk("gAMA");
    EXPECT_NE(copy.FindChunk("gAMA"), nullptr);
    EXPECT_NE(copy.Pixels(), source.Pixels());
    // And it decodes again on its own, after the source is gone.
    source.Clear();
    copy.RemoveChunk("gAMA");
    EXPECT_EQ(copy.Pixels(), Load(EncodeTestPng(Image(2, 8))).Pixels());
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(PngObjectTest, AncillaryChunksAreKeptInOrderAndCHRMIsDropped) {
    TTestImage image = Image(6, 8);
    image.chunksBeforeData = {{"cHRM", std::vector<uint8_t>(32, 1)},
                              {"tEXt", Bytes(std::string("Title\0Salir", 11))},
                              {"prVt", {1, 2, 3}}};
    std::vector<uint8_t> ztxt = Bytes(std::string("Comment\0\0", 9));
    const std::vector<uint8_t> z = Deflate("made by a test");
    ztxt.insert(ztxt.end(), z.begin(), z.end());
    image.chunksAfterData = {{"zTXt", ztxt}, {"tIME", {0x07, 0xE8, 2, 29, 23, 59, 58}}};
    const TPNGObject png = Load(EncodeTestPng(image));

    EXPECT_EQ(ChunkTypes(png),
              (std::vector<std::string>{"IHDR", "tEXt", "prVt", "IDAT", "zTXt", "tIME", "IEND"}));
    EXPECT_EQ(png.FindChunk("prVt")->data, (std::vector<uint8_t>{1, 2, 3}));
    const std::vector<TPngText> texts = png.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].keyword, "Title");
    EXPECT_EQ(texts[0].text, "Salir");
    EXPECT_FALSE(texts[0].compressed);
    EXPECT_EQ(texts[1].keyword, "Comment");
    EXPECT_EQ(texts[1].text, "made by a test");
    EXPECT_TRUE(texts[1].compressed);
    const std::optional<TPngTime> time = png.ModificationTime();
    ASSERT_TRUE(time.has_value());
    EXPECT_EQ(time->year, 2024);
    EXPECT_EQ(time->month, 2);
    EXPECT_EQ(time->day, 29);
    EXPECT_EQ(time->second, 58);
}

TEST(PngObjectTest, MalformedTextChunksAreLeftOutOfTexts) {
    TTestImage image = Image(0, 8);
    image.chunksAfterData = {{"tEXt", Bytes("no separator")},
                             {"zTXt", Bytes(std::string("k\0\0notzlib", 10))},
                             {"tIME", {1, 2, 3}}};
    const TPNGObject png = Load(EncodeTestPng(image));
    EXPECT_TRUE(png.Texts().empty());
    EXPECT_FALSE(png.ModificationTime().has_value());
}

TEST(PngObjectTest, RemovingGammaDecodesWithoutIt) {
    TTestImage image = Image(6, 8);
    const TPNGObject plain = Load(EncodeTestPng(image));
    image.gamma = 100000;
    TPNGObject png = Load(EncodeTestPng(image));
    ASSERT_NE(png.Pixels(), plain.Pixels());
    EXPECT_EQ(png.RemoveChunk("gAMA"), 1u);
    EXPECT_EQ(png.Gamma(), 0u);
    EXPECT_EQ(png.Pixels(), plain.Pixels());
    EXPECT_EQ(png.FindChunk("gAMA"), nullptr);
    EXPECT_EQ(png.RemoveChunk("gAMA"), 0u);
}

TEST(PngObjectTest, RemovingTransparencyMakesTheImageOpaque) {
    TTestImage image = Image(3, 2);
    image.transparency = std::vector<uint8_t>{0, 128};
    TPNGObject png = Load(EncodeTestPng(image));
    EXPECT_EQ(png.Transparency(), TPngTransparency::Alpha);
    png.RemoveChunk("tRNS");
    EXPECT_EQ(png.Transparency(), TPngTransparency::None);
    for (size_t i = 3; i < png.Pixels().size(); i += 4)
        ASSERT_EQ(png.Pixels()[i], 255);
}

TEST(PngObjectTest, CriticalChunksCannotBeRemoved) {
    TPNGObject png = Load(EncodeTestPng(Image(3, 2)));
    for (const char* type : {"IHDR", "PLTE", "IDAT", "IEND"})
        EXPECT_THROW(png.RemoveChunk(type), EPNGInvalidChunk) << type;
    EXPECT_EQ(ChunkTypes(png), (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
}

TEST(PngObjectTest, SavingWritesTheKeptChunks) {
    TTestImage image = Image(4, 16);
    image.idatChunkSize = 20;
    image.chunksAfterData = {{"tEXt", Bytes(std::string("a\0b", 3))}};
    const std::vector<uint8_t> bytes = EncodeTestPng(image);
    EXPECT_EQ(Load(bytes).SaveToBytes(), bytes);

    image.chunksBeforeData = {{"cHRM", std::vector<uint8_t>(32, 7)}};
    TPNGObject withChroma = Load(EncodeTestPng(image));
    const TPNGObject reloaded = Load(withChroma.SaveToBytes());
    EXPECT_EQ(reloaded.Pixels(), withChroma.Pixels());
    EXPECT_EQ(reloaded.FindChunk("cHRM"), nullptr);
}

TEST(PngObjectTest, BytesAfterTheEndChunkAreIgnored) {
    std::vector<uint8_t> bytes = EncodeTestPng(Image(2, 16));
    const TPNGObject expected = Load(bytes);
    bytes.insert(bytes.end(), {'j', 'u', 'n', 'k'});
    EXPECT_EQ(Load(bytes).Pixels(), expected.Pixels());
}

TEST(PngObjectTest, FilesRoundTrip) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("glyph.png").toStdString();
    const std::vector<uint8_t> bytes = EncodeTestPng(Image(6, 8));
    Load(bytes).SaveToFile(path);
    TPNGObject png;
    png.LoadFromFile(path);
    EXPECT_EQ(png.SaveToBytes(), bytes);
    EXPECT_THROW(png.LoadFromFile(dir.filePath("missing.png").toStdString()), EPNGError);
    EXPECT_EQ(png.Width(), 6u); // a failed load keeps the image
}

TEST(PngObjectTest, FromRgbaEncodesTruecolour) {
    const std::vector<uint8_t> rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0,  255, 0,
                                       1,   2, 3, 4,   5, 6,   7, 8,   9, 10, 11,  12};
    const TPNGObject withAlpha = TPNGObject::FromRgba(3, 2, rgba.data(), true);
    EXPECT_EQ(withAlpha.ColorType(), TPngColorType::TruecolorAlpha);
    EXPECT_EQ(withAlpha.Pixels(), rgba);
    EXPECT_EQ(Load(withAlpha.SaveToBytes()).Pixels(), rgba);

    const TPNGObject opaque = TPNGObject::FromRgba(3, 2, rgba.data(), false);
    EXPECT_EQ(opaque.ColorType(), TPngColorType::Truecolor);
    EXPECT_EQ(opaque.Pixels()[7], 255);
    EXPECT_EQ(opaque.Pixels()[4], 0);
    EXPECT_EQ(opaque.Pixels()[5], 255);
}

struct TransparencyCase {
    const char* name;
    uint8_t colorType;
    std::optional<std::vector<uint8_t>> trns;
    TPngTransparency expected;
};

TEST(PngObjectTest, TransparencyKind) {
    const TransparencyCase cases[] = {
        {"grey", 0, std::nullopt, TPngTransparency::None},
        {"grey keyed", 0, std::vector<uint8_t>{0, 3}, TPngTransparency::SingleColor},
        {"truecolour", 2, std::nullopt, TPngTransparency::None},
        {"truecolour keyed", 2, std::vector<uint8_t>{0, 1, 0, 2, 0, 3},
         TPngTransparency::SingleColor},
        {"indexed", 3, std::nullopt, TPngTransparency::None},
        {"indexed 0 and 255", 3, std::vector<uint8_t>{255, 0}, TPngTransparency::SingleColor},
        {"indexed partial", 3, std::vector<uint8_t>{0, 100}, TPngTransparency::Alpha},
        {"grey alpha", 4, std::nullopt, TPngTransparency::Alpha},
        {"truecolour alpha", 6, std::nullopt, TPngTransparency::Alpha},
    };
    for (const TransparencyCase& c : cases) {
        TTestImage image = Image(c.colorType, 8);
        image.transparency = c.trns;
        EXPECT_EQ(Load(EncodeTestPng(image)).Transparency(), c.expected) << c.name;
    }
}

TEST(PngObjectTest, PaletteIndexesBeyondThePaletteAreOpaqueBlack) {
    TTestImage image = Image(3, 4);
    image.samples = {0, 3, 4, 15, 2, 1};
    image.width = 6;
    image.height = 1;
    const TPNGObject png = Load(EncodeTestPng(image));
    ASSERT_EQ(png.Palette().size(), 4u);
    EXPECT_EQ((std::vector<uint8_t>(png.Pixels().begin() + 8, png.Pixels().begin() + 16)),
              (std::vector<uint8_t>{0, 0, 0, 255, 0, 0, 0, 255}));
    EXPECT_EQ(png.Pixels()[4 * 1], 200); // index 3 is the last entry
}

} // namespace
