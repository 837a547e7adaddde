// settings.dat byte layout. Offsets below are written out from the file's documented table, not
// derived from the code, so that a field moved or resized in the code shows up here.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/settings_format.h"

namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t off) {
    return uint32_t(b.at(off)) | uint32_t(b.at(off + 1)) << 8 | uint32_t(b.at(off + 2)) << 16 |
           uint32_t(b.at(off + 3)) << 24;
}

// Every stored field gets a value of its own, so that a swapped pair of fields is caught.
ProgramSettings Distinct(const std::string& password) {
    ProgramSettings s;
    s.windowLeft = -5;
    s.windowTop = 11;
    s.windowWidth = 701;
    s.windowHeight = 502;
    s.windowShowCmd = 3;
    s.splitterPos = 260;
    s.startWithWindows = 1;
    s.invisibleMode = 2;
    s.passwordEnabled = 3;
    s.password = password;
    uint8_t v = 10;
    for (uint8_t* f : {&s.clearOnExit, &s.clearOnStart, &s.clearClipboardOnCtrlV, &s.clearClipboardOnShiftIns,
                       &s.emptyRecycleBin, &s.clearRecentDocuments, &s.emptyRecentItems, &s.clearClipboard,
                       &s.emptyTempFolders, &s.clearPageFileAtShutdown, &s.clearToolbarHistory})
        *f = v++;
    uint32_t m = 0x1001;
    for (uint32_t* f : {&s.historyMask, &s.bookmarksMask, &s.cacheMask, &s.cookiesMask, &s.passwordsMask,
                        &s.downloadsMask, &s.purgeHistoryMask})
        *f = m++;
    s.reserved1 = 0xA1A2A3A4;
    v = 40;
    for (uint8_t* f : {&s.clearRunHistory, &s.clearSearchFilesHistory, &s.clearSearchComputersHistory,
                       &s.clearUserAssist, &s.clearStreams, &s.clearOpenSaveHistory, &s.clearOfficeHistory,
                       &s.clearMediaPlayerHistory, &s.clearGoogleDesktopHistory, &s.deleteSkypeCalls,
                       &s.deleteSkypeChats, &s.purgeSkypeDatabase, &s.clearAcrobatReaderRecent,
                       &s.clearAcrobatRecent, &s.clearAcrobatHistory, &s.clearAcrobatCollections,
                       &s.deleteIECompatCacheIndex, &s.deletePrivacIEIndex, &s.clearMostPopularSites,
                       &s.clearLastSession})
        *f = v++;
    s.shredFiles = 70;
    s.showShredProgress = 71;
    s.navigationTreeState = 5;
    s.reserved2 = 0xB1B2B3B4;
    s.hotKeyClearAll = 0x430003;
    s.hotKeyMinimizeAll = 0x4D0002;
    s.hotKeyCloseBrowsers = 0x510001;
    s.hotKeyCloseAndClear = 0x450004;
    s.hotKeyHideBrowsers = 0x480008;
    s.hotKeyShowBrowsers = 0x530005;
    s.maxIndexDatSizeMb = 77;
    s.clearOperaSpeedDial = 80;
    s.clearEvery = 0x181; // only the low byte is stored
    s.clearEveryHours = 12;
    s.clearEveryMinutes = 34;
    s.askCloseBrowsers = 0x282;
    s.confirmAfterClear = 0x83;
    s.clearOnBrowserClose = 0x84;
    s.clearSkypeOnQuit = 0x85;
    return s;
}

} // namespace

TEST(SettingsFormat, EveryFieldAtItsDocumentedOffset) {
    const std::string digest(64, 'D');
    const auto b = SerializeSettings(Distinct(digest));
    ASSERT_EQ(b.size(), 243u);
    const size_t N = 64;

    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data()), 32), "Zephyrlanthorpe settings.dat 7.5");
    EXPECT_EQ(b[32], 0);
    EXPECT_EQ(int32_t(U32At(b, 33)), -5);
    EXPECT_EQ(U32At(b, 37), 11u);
    EXPECT_EQ(U32At(b, 41), 701u);
    EXPECT_EQ(U32At(b, 45), 502u);
    EXPECT_EQ(U32At(b, 49), 3u);
    EXPECT_EQ(U32At(b, 53), 260u);
    EXPECT_EQ(b[57], 1);
    EXPECT_EQ(b[58], 2);
    EXPECT_EQ(b[59], 3);
    EXPECT_EQ(U32At(b, 60), 64u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[64]), N), digest);
    for (size_t i = 0; i < 11; ++i) EXPECT_EQ(b[64 + N + i], 10 + i) << "flag " << i;
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(U32At(b, 75 + N + 4 * i), 0x1001u + i) << "mask " << i;
    EXPECT_EQ(U32At(b, 103 + N), 0xA1A2A3A4u);
    for (size_t i = 0; i < 20; ++i) EXPECT_EQ(b[107 + N + i], 40 + i) << "flag " << i;
    EXPECT_EQ(b[127 + N], 70);
    EXPECT_EQ(b[128 + N], 71);
    EXPECT_EQ(U32At(b, 129 + N), 5u);
    EXPECT_EQ(U32At(b, 133 + N), 0xB1B2B3B4u);
    const uint32_t keys[] = {0x430003, 0x4D0002, 0x510001, 0x450004, 0x480008, 0x530005, 77};
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(U32At(b, 137 + N + 4 * i), keys[i]) << "hot key " << i;
    EXPECT_EQ(b[165 + N], 80);
    EXPECT_EQ(b[166 + N], 0x81); // clearEvery, low byte only
    EXPECT_EQ(U32At(b, 167 + N), 12u);
    EXPECT_EQ(U32At(b, 171 + N), 34u);
    EXPECT_EQ(b[175 + N], 0x82);
    EXPECT_EQ(b[176 + N], 0x83);
    EXPECT_EQ(b[177 + N], 0x84);
    EXPECT_EQ(b[178 + N], 0x85);
}

TEST(SettingsFormat, DefaultsWithoutPasswordAre179Bytes) {
    ProgramSettings s;
    s.ApplyDefaults();
    const auto b = SerializeSettings(s);
    ASSERT_EQ(b.size(), 179u);
    EXPECT_EQ(U32At(b, 33), 20u);
    EXPECT_EQ(U32At(b, 37), 20u);
    EXPECT_EQ(U32At(b, 41), 650u);
    EXPECT_EQ(U32At(b, 45), 450u);
    EXPECT_EQ(U32At(b, 49), 1u);
    EXPECT_EQ(U32At(b, 53), 180u);
    EXPECT_EQ(b[57], 1); // start with Windows
    EXPECT_EQ(U32At(b, 60), 0u);
    EXPECT_EQ(U32At(b, 137), 0x430003u);
    EXPECT_EQ(U32At(b, 137 + 12), 0x450003u);
    EXPECT_EQ(U32At(b, 137 + 24), 10u); // index.dat limit
    EXPECT_EQ(U32At(b, 167), 1u);       // scheduler: 1 hour
    EXPECT_EQ(b[175], 1);               // ask to close browsers
    EXPECT_EQ(b[176], 1);               // confirmation after clearing
}

TEST(SettingsFormat, DefaultsAsDocumented) {
    ProgramSettings s;
    s.stopRequested = 1;
    s.runActive = 1;
    s.exitAfterRun = 1;
    s.historyMask = 0xFF;
    s.clearOnStart = 1;
    s.password = "X";
    s.ApplyDefaults();
    EXPECT_EQ(s.historyMask, 0u);
    EXPECT_EQ(s.clearOnStart, 0);
    EXPECT_TRUE(s.password.empty());
    EXPECT_EQ(s.stopRequested, 0);
    EXPECT_EQ(s.runActive, 0);
    EXPECT_EQ(s.exitAfterRun, 0);
    EXPECT_EQ(s.hotKeyMinimizeAll, 0x4D0003u);
    EXPECT_EQ(s.hotKeyCloseBrowsers, 0x510003u);
    EXPECT_EQ(s.hotKeyHideBrowsers, 0x480003u);
    EXPECT_EQ(s.hotKeyShowBrowsers, 0x530003u);
    EXPECT_EQ(s.clearEvery, 0);
    EXPECT_EQ(s.clearEveryMinutes, 0);
    EXPECT_EQ(s.navigationTreeState, 0);
    ASSERT_EQ(s.shredMethods.size(), 1u);
    const ShredMethod& m = s.shredMethods[0];
    EXPECT_EQ(m.name, "U.S. DoD 5220.22-M (E)");
    EXPECT_EQ(m.passCount, 3);
    EXPECT_EQ(m.verifyMode, 0);
    EXPECT_EQ(m.deleteMode, 0);
    EXPECT_EQ(m.passes, (std::vector<std::string>{"Random", "Complement", "Random"}));
}

TEST(SettingsFormat, RoundTripGivesIdenticalBytes) {
    for (const std::string& pw : {std::string(), std::string(64, 'A'), std::string("a\0b", 3)}) {
        const auto bytes = SerializeSettings(Distinct(pw));
        ProgramSettings loaded;
        ASSERT_EQ(ParseSettings(bytes.data(), bytes.size(), loaded), ParseResult::Ok);
        EXPECT_EQ(loaded.password, pw);
        // Flag (dword) fields come back as the byte that was stored.
        EXPECT_EQ(loaded.clearEvery, 0x81);
        EXPECT_EQ(SerializeSettings(loaded), bytes);
    }
}

TEST(SettingsFormat, WrongHeaderLeavesRecordUntouched) {
    auto good = SerializeSettings(Distinct(""));
    auto noZero = good;
    noZero[32] = 'X'; // the header text without its zero byte
    auto otherText = good;
    otherText[0] = 'z'; // another letter case is another text
    auto shortHeader = std::vector<uint8_t>(good.begin(), good.begin() + 32);
    auto oldVersion = good;
    oldVersion[31] = '4';
    for (const auto& bytes : {noZero, otherText, shortHeader, oldVersion, std::vector<uint8_t>{}}) {
        ProgramSettings s;
        s.windowLeft = 1234;
        s.splitterPos = 10;
        s.password = "keep";
        EXPECT_EQ(ParseSettings(bytes.data(), bytes.size(), s), ParseResult::WrongHeader);
        EXPECT_EQ(s.windowLeft, 1234);
        EXPECT_EQ(s.splitterPos, 10); // not even clamped: nothing was loaded
        EXPECT_EQ(s.password, "keep");
    }
}

TEST(SettingsFormat, ShortFileKeepsLaterFields) {
    const auto full = SerializeSettings(Distinct(""));
    ProgramSettings before;
    before.ApplyDefaults();

    // Cut inside the masks: historyMask (offset 75) is read, bookmarksMask (79..82) only half there.
    {
        ProgramSettings s = before;
        ASSERT_EQ(ParseSettings(full.data(), 81, s), ParseResult::Short);
        EXPECT_EQ(s.windowWidth, 701);
        EXPECT_EQ(s.clearToolbarHistory, 20);
        EXPECT_EQ(s.historyMask, 0x1001u);
        EXPECT_EQ(s.bookmarksMask, before.bookmarksMask);
        EXPECT_EQ(s.hotKeyClearAll, before.hotKeyClearAll);
        EXPECT_EQ(s.askCloseBrowsers, before.askCloseBrowsers);
    }
    // Header only: every field stays, except that the divider is still kept at 180 or more.
    {
        ProgramSettings s = before;
        s.splitterPos = 20;
        ASSERT_EQ(ParseSettings(full.data(), 33, s), ParseResult::Short);
        EXPECT_EQ(s.windowLeft, before.windowLeft);
        EXPECT_EQ(s.splitterPos, 180);
    }
    // Everything but the last byte.
    {
        ProgramSettings s = before;
        ASSERT_EQ(ParseSettings(full.data(), full.size() - 1, s), ParseResult::Short);
        EXPECT_EQ(s.clearOnBrowserClose, 0x84);
        EXPECT_EQ(s.clearSkypeOnQuit, before.clearSkypeOnQuit);
    }
}

TEST(SettingsFormat, SplitterBelow180LoadsAs180) {
    for (int32_t pos : {50, -1, 0, 179}) {
        ProgramSettings s = Distinct("");
        s.splitterPos = pos;
        const auto bytes = SerializeSettings(s);
        ProgramSettings loaded;
        ASSERT_EQ(ParseSettings(bytes.data(), bytes.size(), loaded), ParseResult::Ok);
        EXPECT_EQ(loaded.splitterPos, 180) << pos;
    }
    ProgramSettings s = Distinct("");
    s.splitterPos = 181;
    const auto bytes = SerializeSettings(s);
    ProgramSettings loaded;
    ParseSettings(bytes.data(), bytes.size(), loaded);
    EXPECT_EQ(loaded.splitterPos, 181);
}

TEST(SettingsFormat, PasswordLengthBeyondTheFileIsNotTrusted) {
    auto bytes = SerializeSettings(Distinct(""));
    bytes.resize(64 + 10);
    bytes[60] = bytes[61] = bytes[62] = bytes[63] = 0xFF; // N = 4 GiB - 1
    ProgramSettings s;
    s.clearOnExit = 99;
    s.password = "old";
    ASSERT_EQ(ParseSettings(bytes.data(), bytes.size(), s), ParseResult::Short);
    EXPECT_EQ(s.password, "old"); // a part of a digest is no digest
    EXPECT_EQ(s.clearOnExit, 99); // nothing after the password was read
}
