#include <gtest/gtest.h>

#include "app/settings_binding.h"

TEST(SettingBinding, MaskBitChangesOnlyItsBit) {
    ProgramSettings s;
    s.historyMask = BrowserFirefox | IEIndexDatContent;
    const SettingBinding ie = BindMaskBit(917, &ProgramSettings::historyMask, BrowserIE);
    const SettingBinding ff = BindMaskBit(940, &ProgramSettings::historyMask, BrowserFirefox);
    EXPECT_FALSE(ie.Read(s));
    EXPECT_TRUE(ff.Read(s));
    ie.Write(s, true);
    EXPECT_EQ(s.historyMask, BrowserIE | BrowserFirefox | IEIndexDatContent);
    ff.Write(s, false);
    EXPECT_EQ(s.historyMask, BrowserIE | IEIndexDatContent);
    EXPECT_EQ(s.cacheMask, 0u);
}

TEST(SettingBinding, FlagsReadAnyNonZeroAsOnAndWriteOneOrZero) {
    ProgramSettings s;
    s.clearStreams = 7; // a byte from an old file
    s.askCloseBrowsers = 0x100;
    const SettingBinding streams = BindFlag(1, &ProgramSettings::clearStreams);
    const SettingBinding ask = BindDwordFlag(2, &ProgramSettings::askCloseBrowsers);
    EXPECT_TRUE(streams.Read(s));
    EXPECT_TRUE(ask.Read(s));
    streams.Write(s, true);
    ask.Write(s, false);
    EXPECT_EQ(s.clearStreams, 1);
    EXPECT_EQ(s.askCloseBrowsers, 0);
}
