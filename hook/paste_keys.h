#pragma once
// Recognises a paste (Ctrl+V or Shift+Ins) in a stream of key events. Portable: virtual-key codes
// are spelled out. Both the generic and the left/right modifier codes count: injected input reports
// VK_CONTROL, real keyboards VK_LCONTROL or VK_RCONTROL.
#include <cstdint>

class PasteKeys {
public:
    PasteKeys(bool ctrlV, bool shiftIns) : ctrlV_(ctrlV), shiftIns_(shiftIns) {}
    // Feed one key event; true when it completes a paste that the options ask to watch.
    bool OnKey(uint32_t virtualKey, bool down);

private:
    bool ctrlV_, shiftIns_;
    bool control_ = false, shift_ = false;
    bool leftControl_ = false, rightControl_ = false, leftShift_ = false, rightShift_ = false;
};
