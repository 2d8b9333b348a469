#pragma once
// Inflates the zlib stream that the consecutive IDAT chunks carry together,
// handing it out in pieces of the size the caller asks for (one row at a time).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>
#include <zlib.h>

class TPngInflater {
public:
    explicit TPngInflater(std::vector<std::span<const uint8_t>> input);
    ~TPngInflater();
    TPngInflater(const TPngInflater&) = delete;
    TPngInflater& operator=(const TPngInflater&) = delete;

    // Fills exactly `size` bytes or throws EPNGInvalidCompressedData.
    void Read(uint8_t* out, size_t size);
    // After the last row: inflates to the end of the stream so that zlib
    // checks its Adler-32. Extra data or a missing stream end are let pass,
    // as other decoders do; a corrupt end throws EPNGInvalidCompressedData.
    void Finish();

private:
    std::vector<std::span<const uint8_t>> input_;
    size_t nextInput_ = 0;
    z_stream stream_{};
    bool ended_ = false;
};
