// Opera ini and Safari property-list editing. Expected texts are written out by hand from the cut
// rules.
#include <gtest/gtest.h>

#include "engine/cleaners/chrome_opera_safari_edits.h"

TEST(OperaIni, SaveAndOpenDirLinesGoWhole) {
    EXPECT_EQ(
        OperaIniWithoutDirs("Opera Preferences version 2.1\r\n\r\n[User Prefs]\r\n"
                            "Save Dir=C:\\Users\\u\\Downloads\r\nColor=1\r\nOpen Dir=D:\\\r\nLast=2\r\n"),
        "Opera Preferences version 2.1\r\n\r\n[User Prefs]\r\nColor=1\r\nLast=2\r\n");
    // Only the first occurrence of each key goes.
    EXPECT_EQ(OperaIniWithoutKeyLine("[User Prefs]\nSave Dir=1\nSave Dir=2\n", "Save Dir"),
              "[User Prefs]\nSave Dir=2\n");
}

TEST(OperaIni, OnlyTheKeysOwnLineInUserPrefsGoes) {
    // A longer key, a value naming the key, and the key in another section all stay whole.
    EXPECT_EQ(OperaIniWithoutDirs("[User Prefs]\r\nLast Save Dir=C:\\x\r\nNote=Save Dir=here\r\nSave Dir =C:\\y\r\n"
                                  "Open Dir=D:\\\n[Other]\r\nSave Dir=keep\r\n"),
              "[User Prefs]\r\nLast Save Dir=C:\\x\r\nNote=Save Dir=here\r\n[Other]\r\nSave Dir=keep\r\n");
    // The last line without a line break goes too.
    EXPECT_EQ(OperaIniWithoutDirs("[User Prefs]\r\nColor=1\r\nSave Dir=C:\\x"), "[User Prefs]\r\nColor=1\r\n");
}

TEST(OperaIni, LeftAsItIs) {
    // Outside "[User Prefs]" (or before any section) the keys are not Opera's folders.
    EXPECT_EQ(OperaIniWithoutDirs("Save Dir=C:\\x\r\nOpen Dir=C:\\y\r\n"), std::nullopt);
    EXPECT_EQ(OperaIniWithoutDirs("[Prefs]\r\nSave Dir=C:\\x\r\n"), std::nullopt);
    EXPECT_EQ(OperaIniWithoutDirs("[User Prefs]\r\nsave dir=C:\\x\r\n"), std::nullopt);
    EXPECT_EQ(OperaIniWithoutDirs("[User Prefs]\r\nSave Directory=C:\\x\r\n"), std::nullopt);
    EXPECT_EQ(OperaIniWithoutDirs(""), std::nullopt);
}

namespace {
const SafariPlistPass& kSearches = kSafariPlistPasses[0];
const SafariPlistPass& kDownloads = kSafariPlistPasses[1];
} // namespace

TEST(SafariPlist, ValueBecomesEmptyNextKeyKeepsItsIndent) {
    EXPECT_EQ(kSearches.file, "com.apple.Safari.plist");
    EXPECT_EQ(kDownloads.file, "Preferences.plist");
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
    EXPECT_EQ(
        SafariPlistWithEmptyValue(head + "\t<key>RecentSearchStrings</key>\n\t<array>\n"
                                         "\t\t<string>secret one</string>\n\t\t<string>two</string>\n"
                                         "\t</array>\n\t<key>ShowStatusBar</key>\n\t<true/>\n</dict>\n",
                                  kSearches),
        head +
            "\t<key>RecentSearchStrings</key>\n\t<array/>\n\t<key>ShowStatusBar</key>\n\t<true/>\n</dict>\n");
    EXPECT_EQ(SafariPlistWithEmptyValue(
                  head + "\t<key>DownloadPath</key>\n\t<string>C:\\Users\\u\\Desktop</string>\n"
                         "\t<key>Home</key>\n",
                  kDownloads),
              head + "\t<key>DownloadPath</key>\n\t<string/>\n\t<key>Home</key>\n");
    // Already empty: the same bytes, so nothing to write.
    EXPECT_EQ(SafariPlistWithEmptyValue(
                  head + "\t<key>RecentSearchStrings</key>\n\t<array/>\n\t<key>X</key>\n", kSearches),
              std::nullopt);
}

TEST(SafariPlist, LeftAsItIs) {
    EXPECT_EQ(SafariPlistWithEmptyValue("<key>DownloadPath</key>\n\t<string>C:\\x</string>\n\t<key>A</key>\n",
                                        kDownloads),
              std::nullopt); // at byte 0
    EXPECT_EQ(SafariPlistWithEmptyValue(
                  "<dict>\n\t<key>DownloadPath</key>\n\t<string>C:\\x</string>\n</dict>\n", kDownloads),
              std::nullopt); // the last key: no "<key>" follows
    EXPECT_EQ(SafariPlistWithEmptyValue("<dict>\n\t<key>DownloadPath</key>", kDownloads), std::nullopt);
    EXPECT_EQ(SafariPlistWithEmptyValue("<dict>\n\t<key>DownloadPath</key>\n<key>", kDownloads),
              std::nullopt);
    EXPECT_EQ(SafariPlistWithEmptyValue(std::string("bplist00\xd1\x01\x02_\x10\x0c"
                                                    "DownloadPath",
                                                    23),
                                        kDownloads),
              std::nullopt);
}

TEST(SafariPlist, NeverLeavesAFileThatNoLongerParses) {
    // Written without blanks between elements: half a tag would stay on either side of the cut.
    EXPECT_EQ(SafariPlistWithEmptyValue(
                  "<dict><key>DownloadPath</key><string>C:\\x</string><key>A</key></dict>", kDownloads),
              std::nullopt);
    EXPECT_EQ(SafariPlistWithEmptyValue("<dict>\n<key>DownloadPath</key>\n<string>C:\\x</string><key>A</key>",
                                        kDownloads),
              std::nullopt);
    // The last key of an inner dictionary: the next "<key>" lies past its "</dict>".
    EXPECT_EQ(SafariPlistWithEmptyValue(
                  "<dict>\n\t<key>Inner</key>\n\t<dict>\n\t\t<key>DownloadPath</key>\n"
                  "\t\t<string>C:\\x</string>\n\t</dict>\n\t<key>A</key>\n\t<true/>\n</dict>\n",
                  kDownloads),
              std::nullopt);
}
