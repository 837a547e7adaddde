#pragma once
// Hot-key values as the settings store them (virtual key << 16 | HOTKEYF_* bits) and their
// RegisterHotKey form. Portable: the MOD_* numbers are spelled out.
#include <cstdint>

constexpr uint32_t kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4, kModWin = 0x8;

constexpr uint32_t HotKeyVirtualKey(uint32_t value) { return value >> 16; }
// Shift 0x01 -> MOD_SHIFT, Control 0x02 -> MOD_CONTROL, Alt 0x04 -> MOD_ALT, extended 0x08 -> MOD_WIN.
uint32_t HotKeyRegisterModifiers(uint32_t value);
