#include "data/dataset/engine/row_arena.h"

#include <cstring>

const uint8_t* TRowArena::Store(std::span<const uint8_t> bytes) {
    const size_t size = bytes.size();
    if (size > left_) {
        // A row bigger than a block gets a block of its own; the current block
        // stays open for the rows after it.
        if (size > BlockSize / 4) {
            blocks_.push_back(std::make_unique_for_overwrite<uint8_t[]>(size ? size : 1));
            reserved_ += size ? size : 1;
            if (size)
                std::memcpy(blocks_.back().get(), bytes.data(), size);
            return blocks_.back().get();
        }
        blocks_.push_back(std::make_unique_for_overwrite<uint8_t[]>(BlockSize));
        reserved_ += BlockSize;
        next_ = blocks_.back().get();
        left_ = BlockSize;
    }
    uint8_t* at = next_;
    if (size)
        std::memcpy(at, bytes.data(), size);
    next_ += size;
    left_ -= size;
    return at;
}

void TRowArena::Clear() {
    blocks_.clear();
    next_ = nullptr;
    left_ = 0;
    reserved_ = 0;
}
