#pragma once
// The hot-key value, the one form in which the program keeps a hot key: the virtual-key code in
// the high 16 bits, the modifier bits of the hot-key control in the low 16 bits. A value without a
// key (below 0x10000) means "no hot key". Portable: the system's numbers are spelled out.
#include <cstdint>

// The hot-key control's modifier bits (HOTKEYF_*).
enum HotKeyModifierBits : uint32_t {
    HotKeyShift = 0x01,
    HotKeyControl = 0x02,
    HotKeyAlt = 0x04,
    HotKeyExt = 0x08,
};
// RegisterHotKey's modifier bits (MOD_*).
constexpr uint32_t kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4;

constexpr uint32_t MakeHotKeyValue(uint32_t virtualKey, uint32_t modifiers) { return virtualKey << 16 | modifiers; }
constexpr uint32_t HotKeyVirtualKey(uint32_t value) { return value >> 16; }

// Shift 0x01 -> MOD_SHIFT, Control 0x02 -> MOD_CONTROL, Alt 0x04 -> MOD_ALT. The extended bit 0x08
// only says which of two keys with one code was pressed (the arrows and Insert beside the numeric
// pad, its Enter); it is no modifier, and as MOD_WIN it would make Ctrl+Up a Win+Ctrl+Up that
// nobody can press.
constexpr uint32_t HotKeyRegisterModifiers(uint32_t value) {
    return ((value & HotKeyShift) ? kModShift : 0) | ((value & HotKeyControl) ? kModControl : 0) |
           ((value & HotKeyAlt) ? kModAlt : 0);
}

// The hot-key control's own word (HKM_GETHOTKEY, HKM_SETHOTKEY): the virtual key in the low byte,
// the modifier bits in the high byte.
constexpr uint32_t HotKeyValueFromControl(uint16_t word) { return MakeHotKeyValue(word & 0xFF, word >> 8); }
constexpr uint16_t HotKeyControlWord(uint32_t value) {
    return static_cast<uint16_t>((HotKeyVirtualKey(value) & 0xFF) | (value & 0xFF) << 8);
}
