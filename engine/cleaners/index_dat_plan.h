#pragma once
// Which bytes of an "index.dat" are zeroed when its content is cleared. Portable: no Windows header.
#include <cstdint>

struct IndexDatPlan {
    static constexpr uint64_t kKeptHeader = 32; // the first 32 bytes are never overwritten
    static constexpr uint64_t kBlock = 512;

    explicit IndexDatPlan(int32_t maxSizeMb)
        : limit(maxSizeMb > 0 ? static_cast<uint64_t>(maxSizeMb) * 1000000u : 0) {}

    // End (exclusive) of the zeroed range of a file of `length` bytes: the file's end, or the end
    // of the block whose start was the last one below the limit, whichever comes first. At least
    // one block is cleared.
    uint64_t ClearEnd(uint64_t length) const;
    // The warning is due: the file is above the limit or its length does not fit in 32 bits.
    bool TooLarge(uint64_t length) const { return length > limit || length > 0xFFFFFFFFu; }
    static uint64_t SizeMb(uint64_t length) { return length / 1000000u; }

    uint64_t limit;
};
