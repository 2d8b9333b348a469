// Feeds arbitrary bytes to the PNG decoder. Refusing the input with one of
// its errors is fine; anything else that escapes, or a sanitizer report, is a bug.

#include "imaging/png/png_chunk.h"
#include "imaging/png/png_errors.h"
#include "imaging/png/png_object.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Small limits keep each run fast; the limit checks are exercised all the same.
const TPngLimits fuzzLimits{2048, 2048, uint64_t{8} << 20};

// Mutated bytes nearly always fail the CRC check first. Writing correct CRCs
// into a copy lets the mutations reach the chunk contents and the pixels.
std::vector<uint8_t> WithCorrectCrcs(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    size_t pos = sizeof(PngSignature);
    while (pos + 12 <= bytes.size()) {
        const uint32_t length = ReadBigEndian32(&bytes[pos]);
        if (length > bytes.size() - pos - 12)
            break;
        const std::string type(reinterpret_cast<const char*>(&bytes[pos + 4]), 4);
        const uint32_t crc = ChunkCrc(type, &bytes[pos + 8], length);
        uint8_t* out = &bytes[pos + 8 + length];
        out[0] = static_cast<uint8_t>(crc >> 24);
        out[1] = static_cast<uint8_t>(crc >> 16);
        out[2] = static_cast<uint8_t>(crc >> 8);
        out[3] = static_cast<uint8_t>(crc);
        pos += size_t{length} + 12;
    }
    return bytes;
}

void DecodeAndUse(const uint8_t* data, size_t size) {
    TPNGObject image;
    try {
        image.LoadFromBytes({data, size}, fuzzLimits);
    } catch (const EPNGError&) {
        return;
    }
    TPNGObject copy;
    copy.Assign(&image);
    copy.RemoveChunk("gAMA");
    copy.RemoveChunk("tRNS");
    (void)copy.Texts();
    (void)copy.ModificationTime();
    // A decoded image must survive saving and loading again unchanged.
    TPNGObject reloaded;
    reloaded.LoadFromBytes(image.SaveToBytes(), fuzzLimits);
    if (reloaded.Pixels() != image.Pixels())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodeAndUse(data, size);
    const std::vector<uint8_t> fixed = WithCorrectCrcs(data, size);
    DecodeAndUse(fixed.data(), fixed.size());
    return 0;
}
