#include "control/hot_key_value.h"

uint32_t HotKeyRegisterModifiers(uint32_t value) {
    uint32_t modifiers = 0;
    if (value & 0x01) modifiers |= kModShift;
    if (value & 0x02) modifiers |= kModControl;
    if (value & 0x04) modifiers |= kModAlt;
    if (value & 0x08) modifiers |= kModWin;
    return modifiers;
}
