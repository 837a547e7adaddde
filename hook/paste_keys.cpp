#include "hook/paste_keys.h"

namespace {
constexpr uint32_t kShift = 0x10, kControl = 0x11, kLeftShift = 0xA0, kRightShift = 0xA1, kLeftControl = 0xA2,
                   kRightControl = 0xA3, kInsert = 0x2D, kV = 'V';
}

bool PasteKeys::OnKey(uint32_t key, bool down) {
    switch (key) {
    case kControl: control_ = down; return false;
    case kLeftControl: leftControl_ = down; return false;
    case kRightControl: rightControl_ = down; return false;
    case kShift: shift_ = down; return false;
    case kLeftShift: leftShift_ = down; return false;
    case kRightShift: rightShift_ = down; return false;
    default: break;
    }
    if (!down) return false;
    const bool control = control_ || leftControl_ || rightControl_;
    const bool shift = shift_ || leftShift_ || rightShift_;
    if (key == kV) return ctrlV_ && control;
    if (key == kInsert) return shiftIns_ && shift && !control; // Ctrl+Ins is copy
    return false;
}
