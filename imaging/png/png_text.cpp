#include "imaging/png/png_text.h"

#include <algorithm>
#include <zlib.h>

namespace {

std::optional<std::string> InflateText(const uint8_t* data, size_t size) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof(buffer);
        result = inflate(&stream, Z_NO_FLUSH);
        text.append(buffer, sizeof(buffer) - stream.avail_out);
        if (text.size() > MaxPngTextBytes)
            result = Z_MEM_ERROR;
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END)
        return std::nullopt;
    return text;
}

} // namespace

std::optional<TPngText> ParsePngTextChunk(const TPngChunk& chunk) {
    const bool compressed = chunk.type == "zTXt";
    if (chunk.type != "tEXt" && !compressed)
        return std::nullopt;
    const auto begin = chunk.data.begin();
    const auto separator = std::find(begin, chunk.data.end(), uint8_t{0});
    if (separator == chunk.data.end() || separator == begin || separator - begin > 79)
        return std::nullopt;
    TPngText text{std::string(begin, separator), {}, compressed};
    const size_t rest = static_cast<size_t>(separator - begin) + 1;
    if (!compressed) {
        text.text.assign(chunk.data.begin() + static_cast<std::ptrdiff_t>(rest), chunk.data.end());
        return text;
    }
    // zTXt: a compression method byte (0, zlib) and the compressed text.
    if (rest >= chunk.data.size() || chunk.data[rest] != 0)
        return std::nullopt;
    std::optional<std::string> inflated =
        InflateText(chunk.data.data() + rest + 1, chunk.data.size() - rest - 1);
    if (!inflated)
        return std::nullopt;
    text.text = std::move(*inflated);
    return text;
}

std::optional<TPngTime> ParsePngTimeChunk(const TPngChunk& chunk) {
    if (chunk.type != "tIME" || chunk.data.size() != 7)
        return std::nullopt;
    const uint8_t* d = chunk.data.data();
    TPngTime time{ReadBigEndian16(d), d[2], d[3], d[4], d[5], d[6]};
    if (time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 || time.hour > 23 ||
        time.minute > 59 || time.second > 60)
        return std::nullopt;
    return time;
}
