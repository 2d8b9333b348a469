#pragma once
// Byte storage for rows: large blocks filled one row after the other, so that
// rows cost no allocation of their own and stay where they were written.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class TRowArena {
public:
    static constexpr size_t BlockSize = 64 * 1024;

    // A copy of the bytes that stays valid as long as the arena.
    const uint8_t* Store(std::span<const uint8_t> bytes);
    void Clear();
    // Bytes reserved from the system, used or not.
    size_t ReservedBytes() const { return reserved_; }

private:
    std::vector<std::unique_ptr<uint8_t[]>> blocks_;
    uint8_t* next_ = nullptr;
    size_t left_ = 0;
    size_t reserved_ = 0;
};
