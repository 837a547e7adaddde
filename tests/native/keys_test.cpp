// Paste detection of hook.dll and the hot-key conversion for RegisterHotKey.
#include <gtest/gtest.h>

#include "app/hot_key_value.h"
#include "hook/paste_keys.h"

namespace {
constexpr uint32_t kShift = 0x10, kControl = 0x11, kLShift = 0xA0, kRShift = 0xA1, kLControl = 0xA2,
                   kRControl = 0xA3, kInsert = 0x2D;
}

TEST(PasteKeys, CtrlVWithAnyControlKey) {
    for (uint32_t control : {kControl, kLControl, kRControl}) {
        PasteKeys keys(true, false);
        EXPECT_FALSE(keys.OnKey('V', true)) << "V alone";
        EXPECT_FALSE(keys.OnKey('V', false));
        EXPECT_FALSE(keys.OnKey(control, true));
        EXPECT_FALSE(keys.OnKey('C', true)) << "copy";
        EXPECT_TRUE(keys.OnKey('V', true));
        EXPECT_FALSE(keys.OnKey('V', false)) << "key up";
        EXPECT_FALSE(keys.OnKey(control, false));
        EXPECT_FALSE(keys.OnKey('V', true)) << "control released";
    }
}

TEST(PasteKeys, ShiftInsertOnlyWhenChosenAndNotCtrlInsert) {
    PasteKeys both(true, true), ctrlOnly(true, false);
    for (PasteKeys* keys : {&both, &ctrlOnly}) {
        keys->OnKey(kLShift, true);
        EXPECT_EQ(keys->OnKey(kInsert, true), keys == &both);
        keys->OnKey(kLShift, false);
    }
    PasteKeys keys(false, true);
    keys.OnKey(kControl, true);
    EXPECT_FALSE(keys.OnKey(kInsert, true)) << "Ctrl+Ins is copy";
    keys.OnKey(kControl, false);
    keys.OnKey(kRShift, true);
    EXPECT_TRUE(keys.OnKey(kInsert, true));
    keys.OnKey(kRShift, false);
    keys.OnKey(kShift, true);
    EXPECT_TRUE(keys.OnKey(kInsert, true));
    keys.OnKey(kShift, false);
    keys.OnKey(kControl, true);
    EXPECT_FALSE(keys.OnKey('V', true)) << "Ctrl+V not chosen";
}

TEST(PasteKeys, OneModifierSideReleasedWhileTheOtherIsHeld) {
    PasteKeys keys(true, false);
    keys.OnKey(kLControl, true);
    keys.OnKey(kRControl, true);
    keys.OnKey(kLControl, false);
    EXPECT_TRUE(keys.OnKey('V', true));
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
