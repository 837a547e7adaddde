// Name rules of the folder walks and the folder arithmetic of the cleaners.
#include <gtest/gtest.h>

#include "engine/cleaners/index_dat_plan.h"
#include "engine/walk_rules.h"

TEST(WalkRules, SuffixIsTheLastFourCharactersCaseSensitive) {
    EXPECT_TRUE(MatchesSuffix("cache.dat", ".dat"));
    EXPECT_TRUE(MatchesSuffix(".dat", ".dat"));
    EXPECT_FALSE(MatchesSuffix("CACHE.DAT", ".dat"));
    EXPECT_FALSE(MatchesSuffix("cache.data", ".dat"));
    EXPECT_FALSE(MatchesSuffix("dat", ".dat"));
    EXPECT_TRUE(MatchesSuffix("dat", "dat")); // shorter names are compared whole
    EXPECT_FALSE(MatchesSuffix("", ".dat"));
}

TEST(WalkRules, PrefixIsCaseSensitive) {
    EXPECT_TRUE(MatchesPrefix("cookie_a.txt", "cookie"));
    EXPECT_TRUE(MatchesPrefix("cookie", "cookie"));
    EXPECT_FALSE(MatchesPrefix("cook", "cookie"));
    EXPECT_FALSE(MatchesPrefix("Cookie_a", "cookie"));
    EXPECT_TRUE(MatchesPrefix("anything", ""));
}

TEST(WalkRules, DigitNamedSFiles) {
    EXPECT_TRUE(IsDigitNamedSFile("12345678.s"));
    EXPECT_TRUE(IsDigitNamedSFile(".s"));
    EXPECT_TRUE(IsDigitNamedSFile("0.s"));
    EXPECT_FALSE(IsDigitNamedSFile("a1.s"));
    EXPECT_FALSE(IsDigitNamedSFile("12.34.s"));
    EXPECT_FALSE(IsDigitNamedSFile("12345678.S"));
    EXPECT_FALSE(IsDigitNamedSFile("12345678.sx"));
    EXPECT_FALSE(IsDigitNamedSFile("12345678s"));
    EXPECT_FALSE(IsDigitNamedSFile("s"));
}

TEST(WalkRules, RegistryChildPrefixAddsOneBackslash) {
    EXPECT_EQ(RegistryChildPrefix("Software\\A"), "Software\\A\\");
    EXPECT_EQ(RegistryChildPrefix("Software\\A\\"), "Software\\A\\");
}

TEST(WalkRules, TempBesideHistoryOnBothShellLayouts) {
    EXPECT_EQ(TempBesideHistory("C:\\Documents and Settings\\u\\Local Settings\\History"),
              "C:\\Documents and Settings\\u\\Local Settings\\Temp");
    EXPECT_EQ(TempBesideHistory("C:\\Users\\u\\AppData\\Local\\Microsoft\\Windows\\History"),
              "C:\\Users\\u\\AppData\\Local\\Microsoft\\Windows\\Temp");
    EXPECT_EQ(TempBesideHistory("C:\\Users\\u\\history"), "");
    EXPECT_EQ(TempBesideHistory("C:\\Users\\u\\History2"), "");
    EXPECT_EQ(TempBesideHistory("C:\\Users\\u\\History\\"), "");
    EXPECT_EQ(TempBesideHistory("\\History"), ""); // would be the drive's own Temp
    EXPECT_EQ(TempBesideHistory("History"), "");
}

TEST(WalkRules, LocalAppDataTemp) {
    EXPECT_TRUE(LocalAppDataHasTemp("C:\\Users\\u\\AppData\\Local"));
    EXPECT_TRUE(LocalAppDataHasTemp("C:\\Documents and Settings\\u\\Local Settings\\Application Data"));
    EXPECT_FALSE(LocalAppDataHasTemp("C:\\Users\\u\\AppData\\LocalLow"));
    EXPECT_FALSE(LocalAppDataHasTemp("C:\\Users\\u\\AppData\\local"));
    EXPECT_FALSE(LocalAppDataHasTemp("Local"));
}

TEST(WalkRules, SidText) {
    EXPECT_EQ(FormatSidText(5, {18}), "S-1-5-18");
    EXPECT_EQ(FormatSidText(5, {21, 0, 0, 0, 1000}), "S-1-5-21-0-0-0-1000");
    EXPECT_EQ(FormatSidText(5, {21, 4294967295u}), "S-1-5-21-4294967295");
    EXPECT_EQ(FormatSidText(1, {}), "S-1-1");
}

TEST(IndexDatPlan, DefaultLimitStopsAtTheBlockBoundaryPastTenMillion) {
    const IndexDatPlan plan(10);
    EXPECT_EQ(plan.ClearEnd(25000000), 10000416u);
    EXPECT_TRUE(plan.TooLarge(25000000));
    EXPECT_EQ(IndexDatPlan::SizeMb(25000000), 25u);

    EXPECT_EQ(plan.ClearEnd(4000000), 4000000u);
    EXPECT_FALSE(plan.TooLarge(4000000));

    EXPECT_EQ(plan.ClearEnd(10000000), 10000000u); // at the limit: whole file, no warning
    EXPECT_FALSE(plan.TooLarge(10000000));
    EXPECT_TRUE(plan.TooLarge(10000001));
}

TEST(IndexDatPlan, TinyFilesAndOddLimits) {
    const IndexDatPlan plan(10);
    EXPECT_EQ(plan.ClearEnd(20), 32u); // nothing past the kept header
    EXPECT_EQ(plan.ClearEnd(33), 33u);

    const IndexDatPlan one(1);
    EXPECT_EQ(one.ClearEnd(2500000), 1000480u);

    const IndexDatPlan none(0); // one block is still cleared, and every file is "too large"
    EXPECT_EQ(none.ClearEnd(100000), 544u);
    EXPECT_TRUE(none.TooLarge(1));

    const IndexDatPlan huge(100000); // 100 GB limit: a file past 4 GiB still warns
    EXPECT_TRUE(huge.TooLarge(uint64_t{5} << 30));
}

TEST(WalkRules, AnEntryBelongsToItsFolderOnlyUnderItsOwnName) {
    EXPECT_TRUE(IsEntryOfFolder("\\\\?\\C:\\Temp\\a.txt", "\\\\?\\C:\\Temp", "a.txt"));
    EXPECT_TRUE(IsEntryOfFolder("\\\\?\\C:\\Temp\\A.TXT", "\\\\?\\c:\\temp", "a.txt")); // letters as NTFS compares them
    EXPECT_TRUE(IsEntryOfFolder("\\\\?\\C:\\a.txt", "\\\\?\\C:\\", "a.txt"));             // a drive root ends in '\'
    // A link: the entry's final path lies elsewhere, or under another name in the same folder.
    EXPECT_FALSE(IsEntryOfFolder("\\\\?\\C:\\Users\\x\\secret.doc", "\\\\?\\C:\\Temp", "a.txt"));
    EXPECT_FALSE(IsEntryOfFolder("\\\\?\\C:\\Temp\\places.sqlite", "\\\\?\\C:\\Temp", "cookies.sqlite"));
    EXPECT_FALSE(IsEntryOfFolder("\\\\?\\C:\\Temp\\sub\\a.txt", "\\\\?\\C:\\Temp", "a.txt"));
    EXPECT_FALSE(IsEntryOfFolder("\\\\?\\C:\\Temp\\a.txt", "", "a.txt"));
    // Only ASCII letters fold: other bytes must be equal.
    EXPECT_FALSE(IsEntryOfFolder("\\\\?\\C:\\Temp\\\xC4.txt", "\\\\?\\C:\\Temp", "\xE4.txt"));
}

TEST(IndexBat, HistoryAndCookiesEachDeleteOnlyAfterTheirCd) {
    IndexBatFolders folders;
    folders.history = "C:\\Users\\u\\AppData\\Local\\Microsoft\\Windows\\History";
    folders.cookies = "C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Cookies";
    EXPECT_EQ(IndexBatText(folders),
              "@echo off\r\n"
              "cd/d \"C:\\Users\\u\\AppData\\Local\\Microsoft\\Windows\\History\" && "
              "del /F /Q /S /A -RSH index.dat > NUL\r\n"
              "cd/d \"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Cookies\" && "
              "del /F /Q /S /A -RSH index.dat > NUL\r\n");
}

TEST(IndexBat, FixedOrderPercentSignsAndMissingFolders) {
    IndexBatFolders folders;
    folders.cookies = "C:\\K";
    folders.cache = "C:\\Users\\100%u\\Temporary Internet Files";
    folders.history = "C:\\H";
    EXPECT_EQ(
        IndexBatText(folders),
        "@echo off\r\n"
        "cd/d \"C:\\H\" && del /F /Q /S /A -RSH index.dat > NUL\r\n"
        "cd/d \"C:\\Users\\100%%u\\Temporary Internet Files\" && del /F /Q /S /A -RSH index.dat > NUL\r\n"
        "cd/d \"C:\\K\" && del /F /Q /S /A -RSH index.dat > NUL\r\n");
    // A folder that could not be looked up gets no line: there is nothing to change to.
    EXPECT_EQ(IndexBatText(IndexBatFolders{}), "@echo off\r\n");
    EXPECT_EQ(IndexBatPath("C:\\Program Files\\Zephyrlanthorpe\\"),
              "C:\\Program Files\\Zephyrlanthorpe\\index.bat");
}

TEST(WalkRules, OnlyNameSurrogatesAreLinksAndPlaceholdersAreLeft) {
    constexpr uint32_t reparse = 0x400, directory = 0x10;
    // Symbolic link, junction (mount point), an unnamed reparse point: never followed.
    EXPECT_EQ(NatureOf(reparse, 0xA000000C), EntryNature::Link);
    EXPECT_EQ(NatureOf(reparse | directory, 0xA0000003), EntryNature::Link);
    EXPECT_EQ(NatureOf(reparse, 0), EntryNature::Link);
    // Compressed by the system (WOF), deduplicated, and an app execution alias (whose tag has no
    // name-surrogate bit): ordinary files.
    EXPECT_EQ(NatureOf(reparse, 0x80000017), EntryNature::Ordinary);
    EXPECT_EQ(NatureOf(reparse, 0x80000013), EntryNature::Ordinary);
    EXPECT_EQ(NatureOf(reparse, 0x8000001B), EntryNature::Ordinary);
    // Cloud files: the base tag and a variant, and a provider that only sets the recall attribute.
    EXPECT_EQ(NatureOf(reparse, 0x9000001A), EntryNature::CloudPlaceholder);
    EXPECT_EQ(NatureOf(reparse, 0x9000F01A), EntryNature::CloudPlaceholder);
    EXPECT_EQ(NatureOf(0x400000, 0), EntryNature::CloudPlaceholder);
    EXPECT_EQ(NatureOf(0x20 /* archive */, 0), EntryNature::Ordinary);
}
