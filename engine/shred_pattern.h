#pragma once
// The arithmetic of shredding: the program's own random source, the byte of each pass and the
// 4096-byte block layout of a pass. Portable: no Windows header.
#include <cstdint>
#include <string>
#include <vector>

#include "app/settings.h"

// Linear congruential generator with a 31-bit state; seeded with the tick count at every file.
class ShredRandom {
public:
    static constexpr uint64_t kMultiplier = 843314861;
    static constexpr uint64_t kIncrement = 453816693;
    static constexpr uint64_t kModulus = uint64_t{1} << 31;

    explicit ShredRandom(int32_t seed = 1) { Seed(seed); }
    void Seed(int32_t seed) { state_ = seed <= 0 ? 1 : static_cast<uint32_t>(seed); }
    // The next fraction u in [0, 1).
    double Next() {
        state_ = static_cast<uint32_t>((kMultiplier * state_ + kIncrement) % kModulus);
        return static_cast<double>(state_) / static_cast<double>(kModulus);
    }
    uint32_t State() const { return state_; }

private:
    uint32_t state_ = 1;
};

// The literal byte of a pass string that is neither "Random" nor "Complement": one character is
// its code, eight characters a binary number, anything else hexadecimal. Digits are taken as far
// as they are valid (0 when none is); the value is cut to its low byte.
uint8_t LiteralPassByte(const std::string& pass);

// One byte per pass of the method, in order. "Random" draws floor(u * 255.0), so never 255;
// "Complement" is 255 minus the previous pass's byte (of 0 for a first pass).
std::vector<uint8_t> BuildPassPattern(const ShredMethod& method, ShredRandom& random);

// How one pass covers a file of `length` bytes with 4096-byte writes, and how the bar counts it.
struct PassLayout {
    static constexpr uint32_t kBlock = 4096;
    uint64_t fullWrites = 0; // 4096-byte writes before the last one
    uint32_t lastWrite = 0;  // size of the final write: 1..4096, or 0 for an empty file
    uint64_t barRange = 0;   // the bar runs 0..barRange
    uint64_t barStart = 0;   // counter before the first block
};
PassLayout LayoutPass(uint64_t length);

// Where a file's data lies on its volume, as the file system says before the first pass and after
// the last: what decides whether three passes over the file overwrote the data itself.
struct FilePlacement {
    bool compressed = false, sparse = false, encrypted = false;
    uint64_t size = 0;
    bool extentsKnown = false;
    // (first cluster on the volume, cluster count) of each run of the file, in order.
    std::vector<std::pair<int64_t, int64_t>> extents;
};
// Whether the drive moves a head to reach data (a hard disk), as it says.
enum class SeekPenalty { Unknown, Yes, No };

// The verdict on one shredded file: an empty text when the passes reached the data in place, else
// why that is not guaranteed ("solid-state drive", "compressed by the file system", ...). A drive
// without seek penalty (a solid-state drive) writes every pass elsewhere and frees the old cells
// later; a compressed, sparse or encrypted file is stored in other forms than what is written; a
// small file may live inside the file table, where no extents say where it is; a file whose
// extents changed between the passes was written somewhere new.
std::string OverwriteNotGuaranteedBecause(const FilePlacement& before, const FilePlacement& after, SeekPenalty seek);
