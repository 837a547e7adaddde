#pragma once
// Recognises a paste (Ctrl+V or Shift+Ins) from the key that goes down and the modifier keys as the
// keyboard holds them at that moment. Portable: virtual-key codes are spelled out.
//
// Nothing is tracked from one key event to the next: a hook does not see every release (the secure
// desktop of Ctrl+Alt+Del, Win+L or a UAC prompt takes the keys away while they go up), and a
// Ctrl it believed still held would make every later "v" typed an emptied clipboard.
#include <cstdint>

// The modifier keys held down, either side of the keyboard.
struct HeldModifiers {
    bool control = false, shift = false, alt = false;
};

class PasteKeys {
public:
    PasteKeys(bool ctrlV, bool shiftIns) : ctrlV_(ctrlV), shiftIns_(shiftIns) {}
    // True when `virtualKey` going down with `held` is a paste that the options ask to watch.
    bool IsPaste(uint32_t virtualKey, bool down, HeldModifiers held) const;

private:
    bool ctrlV_, shiftIns_;
};
