// Paste detection of hook.dll and the hot-key conversion for RegisterHotKey.
#include <gtest/gtest.h>

#include "app/hot_key_value.h"
#include "hook/paste_keys.h"

namespace {
constexpr uint32_t kInsert = 0x2D;
constexpr HeldModifiers kNone{}, kCtrl{true, false, false}, kShift{false, true, false},
    kCtrlShift{true, true, false}, kCtrlAlt{true, false, true};
} // namespace

TEST(PasteKeys, CtrlVOnlyWithControlHeldAndNotAsAltGr) {
    PasteKeys keys(true, false);
    EXPECT_TRUE(keys.IsPaste('V', true, kCtrl));
    EXPECT_TRUE(keys.IsPaste('V', true, kCtrlShift));
    EXPECT_FALSE(keys.IsPaste('V', true, kNone)) << "a plain v";
    EXPECT_FALSE(keys.IsPaste('V', false, kCtrl)) << "key up";
    EXPECT_FALSE(keys.IsPaste('C', true, kCtrl)) << "copy";
    EXPECT_FALSE(keys.IsPaste('V', true, kCtrlAlt)) << "AltGr+V types a character";
    EXPECT_FALSE(keys.IsPaste(kInsert, true, kShift)) << "Shift+Ins not chosen";
}

TEST(PasteKeys, ShiftInsertOnlyWhenChosenAndNotCtrlInsert) {
    PasteKeys both(true, true), shiftOnly(false, true);
    EXPECT_TRUE(both.IsPaste(kInsert, true, kShift));
    EXPECT_TRUE(shiftOnly.IsPaste(kInsert, true, kShift));
    EXPECT_FALSE(shiftOnly.IsPaste(kInsert, true, kCtrlShift)) << "Ctrl+Ins is copy";
    EXPECT_FALSE(shiftOnly.IsPaste(kInsert, true, kNone));
    EXPECT_FALSE(shiftOnly.IsPaste('V', true, kCtrl)) << "Ctrl+V not chosen";
}

TEST(HotKeyValue, ModifierBitsConvertToRegisterHotKeyForm) {
    const uint32_t ctrlShiftC = 0x430003;
    EXPECT_EQ(HotKeyVirtualKey(ctrlShiftC), static_cast<uint32_t>('C'));
    EXPECT_EQ(HotKeyRegisterModifiers(ctrlShiftC), kModControl | kModShift);
    EXPECT_EQ(HotKeyRegisterModifiers(0x01), kModShift);
    EXPECT_EQ(HotKeyRegisterModifiers(0x02), kModControl);
    EXPECT_EQ(HotKeyRegisterModifiers(0x04), kModAlt);
    // An arrow, Insert or the numeric pad's Enter (extended bit 0x08) is pressed without Win.
    EXPECT_EQ(HotKeyRegisterModifiers(0x08), 0u);
    EXPECT_EQ(HotKeyRegisterModifiers(0x0F), kModAlt | kModControl | kModShift);
    EXPECT_EQ(HotKeyVirtualKey(0x0003), 0u); // modifiers without a key: no hot key
}

TEST(HotKeyValue, TheHotKeyControlsWordHoldsKeyAndModifiersTheOtherWayRound) {
    // HKM_GETHOTKEY for Ctrl+Shift+E: 'E' in the low byte, HOTKEYF_CONTROL | HOTKEYF_SHIFT in the high.
    EXPECT_EQ(HotKeyValueFromControl(0x0345), 0x450003u);
    EXPECT_EQ(HotKeyControlWord(0x450003), 0x0345);
    EXPECT_EQ(HotKeyControlWord(0x70000C), 0x0C70); // F1 with Alt and the extended bit
    EXPECT_EQ(HotKeyValueFromControl(0), 0u);
}
