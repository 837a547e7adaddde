#include "hook/paste_keys.h"

namespace {
constexpr uint32_t kInsert = 0x2D, kV = 'V';
}

bool PasteKeys::IsPaste(uint32_t key, bool down, HeldModifiers held) const {
    if (!down) return false;
    // AltGr reaches programs as Ctrl+Alt: AltGr+V types a character on many layouts, it pastes nothing.
    if (held.alt) return false;
    if (key == kV) return ctrlV_ && held.control;
    if (key == kInsert) return shiftIns_ && held.shift && !held.control; // Ctrl+Ins is copy
    return false;
}
