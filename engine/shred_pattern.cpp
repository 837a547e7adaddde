#include "engine/shred_pattern.h"

#include <algorithm>

namespace {

// strtol-like: the longest run of valid digits after an optional "0x" (hexadecimal only).
uint32_t ParseDigits(const std::string& text, int base) {
    size_t i = 0;
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) i = 2;
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        if (digit >= base) break;
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
    }
    return value;
}

} // namespace

uint8_t LiteralPassByte(const std::string& pass) {
    if (pass.size() == 1) return static_cast<uint8_t>(pass[0]);
    if (pass.size() == 8) return static_cast<uint8_t>(ParseDigits(pass, 2));
    return static_cast<uint8_t>(ParseDigits(pass, 16));
}

std::vector<uint8_t> BuildPassPattern(const ShredMethod& method, ShredRandom& random) {
    std::vector<uint8_t> pattern;
    pattern.reserve(method.passes.size());
    uint8_t previous = 0;
    for (const std::string& pass : method.passes) {
        uint8_t value;
        if (pass == "Random")
            value = static_cast<uint8_t>(random.Next() * 255.0);
        else if (pass == "Complement")
            value = static_cast<uint8_t>(255 - previous);
        else
            value = LiteralPassByte(pass);
        pattern.push_back(value);
        previous = value;
    }
    return pattern;
}

PassLayout LayoutPass(uint64_t length) {
    PassLayout layout;
    const uint64_t blocks = length / PassLayout::kBlock;
    layout.barRange = blocks == 0 ? length : blocks;
    layout.barStart = blocks == 0 ? length : 0;
    if (length > PassLayout::kBlock) {
        layout.fullWrites = (length + PassLayout::kBlock - 1) / PassLayout::kBlock - 1;
        layout.lastWrite = static_cast<uint32_t>(length - layout.fullWrites * PassLayout::kBlock);
    } else {
        layout.lastWrite = static_cast<uint32_t>(length);
    }
    return layout;
}

std::string OverwriteNotGuaranteedBecause(const FilePlacement& before, const FilePlacement& after, SeekPenalty seek) {
    if (before.size == 0) return {}; // nothing was there to overwrite
    if (before.encrypted) return "encrypted by the file system";
    if (before.compressed) return "compressed by the file system";
    if (before.sparse) return "a sparse file";
    if (seek == SeekPenalty::No) return "on a solid-state drive";
    if (seek == SeekPenalty::Unknown) return "the drive does not say whether it is a solid-state drive";
    // A file of some hundred bytes lives in its file-table record, which has no extents.
    constexpr uint64_t kFileRecord = 1024;
    if (!before.extentsKnown || before.extents.empty())
        return before.size < kFileRecord ? "small enough to be kept in the file table"
                                         : "the file system does not say where the file lies";
    if (!after.extentsKnown || after.extents != before.extents) return "the file moved while it was overwritten";
    return {};
}
