#include "imaging/png/png_inflater.h"

#include "imaging/png/png_errors.h"

#include <new>
#include <string>

TPngInflater::TPngInflater(std::vector<std::span<const uint8_t>> input) : input_(std::move(input)) {
    const int result = inflateInit(&stream_);
    if (result == Z_MEM_ERROR)
        throw std::bad_alloc();
    if (result != Z_OK)
        throw EPNGInvalidCompressedData("zlib could not start");
}

TPngInflater::~TPngInflater() {
    inflateEnd(&stream_);
}

void TPngInflater::Read(uint8_t* out, size_t size) {
    stream_.next_out = out;
    stream_.avail_out = static_cast<uInt>(size);
    while (stream_.avail_out > 0) {
        if (ended_)
            throw EPNGInvalidCompressedData("the data ends before the last row");
        if (stream_.avail_in == 0) {
            if (nextInput_ == input_.size())
                throw EPNGInvalidCompressedData("the data is incomplete");
            const std::span<const uint8_t> chunk = input_[nextInput_++];
            stream_.next_in = const_cast<Bytef*>(chunk.data());
            stream_.avail_in = static_cast<uInt>(chunk.size());
            continue;
        }
        const int result = inflate(&stream_, Z_NO_FLUSH);
        switch (result) {
        case Z_OK:
            break;
        case Z_STREAM_END:
            ended_ = true;
            break;
        case Z_BUF_ERROR:
            // No progress without more input; the next chunk supplies it.
            if (stream_.avail_in != 0)
                throw EPNGInvalidCompressedData("the stream makes no progress");
            break;
        case Z_MEM_ERROR:
            throw std::bad_alloc();
        case Z_NEED_DICT:
            throw EPNGInvalidCompressedData("a preset dictionary is not allowed");
        default:
            throw EPNGInvalidCompressedData(stream_.msg ? stream_.msg : "corrupt stream");
        }
    }
}

void TPngInflater::Finish() {
    uint8_t scratch[64];
    while (!ended_) {
        if (stream_.avail_in == 0) {
            if (nextInput_ == input_.size())
                return;
            const std::span<const uint8_t> chunk = input_[nextInput_++];
            stream_.next_in = const_cast<Bytef*>(chunk.data());
            stream_.avail_in = static_cast<uInt>(chunk.size());
            continue;
        }
        stream_.next_out = scratch;
        stream_.avail_out = sizeof(scratch);
        const int result = inflate(&stream_, Z_NO_FLUSH);
        if (result == Z_STREAM_END)
            return;
        if (result == Z_MEM_ERROR)
            throw std::bad_alloc();
        if (result != Z_OK && result != Z_BUF_ERROR)
            throw EPNGInvalidCompressedData(stream_.msg ? stream_.msg : "corrupt stream");
        // More image data than the rows need: not inflated any further.
        if (stream_.avail_out < sizeof(scratch))
            return;
    }
}
