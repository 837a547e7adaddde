// The Chrome, Opera and Safari cleaners against their folders seeded in the sandboxed prefix.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "engine/clearing_run.h"
#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"

namespace {

const HKEY kUser = HKEY_CURRENT_USER;
const std::string kOperaKey = "Software\\Opera Software";

std::string Text(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

const char kOperaPrefs[] =
    "Opera Preferences version 2.1\r\n"
    "\r\n"
    "[User Prefs]\r\n"
    "Language File=C:\\Program Files\\Opera\\locale\\en\\en.lng\r\n"
    "Save Dir=C:\\Users\\me\\Secret Downloads\r\n"
    "Open Dir=C:\\Users\\me\\Private\r\n"
    "Show Startup Dialog=0\r\n";
const char kOperaPrefsCleared[] =
    "Opera Preferences version 2.1\r\n"
    "\r\n"
    "[User Prefs]\r\n"
    "Language File=C:\\Program Files\\Opera\\locale\\en\\en.lng\r\n"
    "Show Startup Dialog=0\r\n";

const char kSafariPlist[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plist version=\"1.0\">\n<dict>\n"
    "\t<key>HistoryAgeInDaysLimit</key>\n\t<integer>7</integer>\n"
    "\t<key>RecentSearchStrings</key>\n\t<array>\n\t\t<string>secret search</string>\n\t</array>\n"
    "\t<key>WebKitDefaultFontSize</key>\n\t<integer>16</integer>\n"
    "</dict>\n</plist>\n";
const char kSafariPlistCleared[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plist version=\"1.0\">\n<dict>\n"
    "\t<key>HistoryAgeInDaysLimit</key>\n\t<integer>7</integer>\n"
    "\t<key>RecentSearchStrings</key>\n\t<array/>\n"
    "\t<key>WebKitDefaultFontSize</key>\n\t<integer>16</integer>\n"
    "</dict>\n</plist>\n";
const char kSafariPreferences[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
    "\t<key>DownloadPath</key>\n\t<string>C:\\Users\\me\\Secret</string>\n"
    "\t<key>Homepage</key>\n\t<string>http://example.com/</string>\n"
    "</dict>\n</plist>\n";
const char kSafariPreferencesCleared[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
    "\t<key>DownloadPath</key>\n\t<string/>\n"
    "\t<key>Homepage</key>\n\t<string>http://example.com/</string>\n"
    "</dict>\n</plist>\n";

struct Browsers : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    const std::string appData = ShellFolderPath(CSIDL_APPDATA);
    const std::string local = ShellFolderPath(CSIDL_LOCAL_APPDATA);
    const std::string chrome = local + "\\Google\\Chrome\\User Data\\Default";
    const std::string opera = appData + "\\Opera";
    const std::string safari = appData + "\\Apple Computer\\Safari";
    const std::string safariLocal = local + "\\Apple Computer\\Safari";

    void SetUp() override { settings.ApplyDefaults(); }
    void TearDown() override {
        for (const std::string& tree : {local + "\\Google", opera, local + "\\Opera", appData + "\\Apple Computer",
                                        local + "\\Apple Computer", appData + "\\ZltOperaInstall"})
            RemoveTree(tree);
        RemoveTree("C:\\ZltDriveCanary");
        DeleteKeyTree(kUser, kOperaKey);
    }
    std::string File(const std::string& path, const std::string& text = "trace") {
        WriteTextFile(path, text);
        return path;
    }
    bool IsEmptyFolder(const std::string& folder) {
        FolderList entries;
        cleaner.ListFiles(folder, entries);
        cleaner.ListSubfolders(folder, entries);
        return PathExists(folder) && entries.empty();
    }
};

} // namespace

// ---- Chrome

TEST_F(Browsers, ChromeEachCleanerItsOwnFilesOfTheDefaultProfile) {
    MakeFolder(chrome);
    const char* history[] = {"Visited Links", "History", "History-journal", "Archived History", "Current Session",
                             "Current Tabs", "History Index 2010-01", "History Index 2010-01-journal", "Last Session"};
    const char* cache[] = {"Thumbnails", "History Provider Cache", "Favicons", "Favicons-journal"};
    for (const char* name : history) File(chrome + "\\" + name);
    for (const char* name : cache) File(chrome + "\\" + name);
    for (const char* name : {"Cookies", "Cookies-journal", "Web Data", "Login Data", "Login Data-journal",
                             "History Index2010", "Bookmarks", "Preferences"})
        File(chrome + "\\" + name);
    File(MakeFolder(chrome + "\\Cache") + "\\data_1");
    File(MakeFolder(chrome + "\\Cache\\sub") + "\\f_000001");
    File(MakeFolder(chrome + "\\Local Storage") + "\\http_secret.example_0.localstorage");
    // No Preferences: a folder the browser has not made a profile of.
    File(MakeFolder(local + "\\Google\\Chrome\\User Data\\Profile 1") + "\\History");
    File(MakeFolder(chrome + "\\Extensions\\abcdef\\1.0") + "\\manifest.json");

    cleaner.ClearChromeHistory();
    for (const char* name : history) EXPECT_FALSE(PathExists(chrome + "\\" + name)) << name;
    EXPECT_TRUE(PathExists(chrome + "\\History Index2010"));
    EXPECT_TRUE(PathExists(chrome + "\\Thumbnails"));

    cleaner.ClearChromeCache();
    for (const char* name : cache) EXPECT_FALSE(PathExists(chrome + "\\" + name)) << name;
    EXPECT_TRUE(IsEmptyFolder(chrome + "\\Cache"));
    // Web sites' storage (and every extension's settings) is no cache.
    EXPECT_TRUE(PathExists(chrome + "\\Local Storage\\http_secret.example_0.localstorage"));
    EXPECT_TRUE(PathExists(chrome + "\\Cookies"));

    cleaner.ClearChromeCookies();
    EXPECT_FALSE(PathExists(chrome + "\\Cookies"));
    EXPECT_FALSE(PathExists(chrome + "\\Cookies-journal"));
    cleaner.ClearChromeDownloads();
    cleaner.ClearChromePasswords();
    // The passwords are in Login Data; Web Data holds search engines, addresses and cards.
    EXPECT_FALSE(PathExists(chrome + "\\Login Data"));
    EXPECT_FALSE(PathExists(chrome + "\\Login Data-journal"));
    EXPECT_TRUE(PathExists(chrome + "\\Web Data"));

    for (const char* name : {"History Index2010", "Bookmarks", "Preferences"})
        EXPECT_TRUE(PathExists(chrome + "\\" + name)) << name;
    EXPECT_TRUE(PathExists(local + "\\Google\\Chrome\\User Data\\Profile 1\\History"));
    EXPECT_TRUE(PathExists(chrome + "\\Extensions\\abcdef\\1.0\\manifest.json"));
}

// ---- Opera

TEST_F(Browsers, OperaHistoryInProfilesAndRegisteredFoldersIniDirsRemoved) {
    const std::string profile = MakeFolder(opera + "\\Opera\\profile");
    const std::string install = MakeFolder(appData + "\\ZltOperaInstall\\profile");
    SetString(kUser, kOperaKey, "Last Directory2", appData + "\\ZltOperaInstall");
    SetString(kUser, kOperaKey, "Last Directory3", "C:\\"); // a whole drive is never walked
    const std::string driveCanary = MakeFolder("C:\\ZltDriveCanary");
    File(driveCanary + "\\global_history.dat");
    File(appData + "\\ZltOperaInstall\\opera.exe"); // the folder is Opera's own
    const char* names[] = {"opera.dir",    "global.dat",       "global_history.dat",    "vlink4.datt", "vlink4.dat",
                           "autosave.win", "autosave.win.bak", "typed_history.hml.win", "typed_history.xml"};
    for (const std::string& folder : {profile, install}) {
        for (const char* name : names) File(folder + "\\" + name);
        File(folder + "\\operaprefs.ini", kOperaPrefs);
        File(folder + "\\opera6.ini", kOperaPrefs);
        File(folder + "\\bookmarks.adr");
    }
    File(opera + "\\global_history.dat"); // the root is no profile

    cleaner.ClearOperaHistory();
    for (const std::string& folder : {profile, install}) {
        SCOPED_TRACE(folder);
        for (const char* name : names) EXPECT_FALSE(PathExists(folder + "\\" + name)) << name;
        EXPECT_EQ(Text(folder + "\\operaprefs.ini"), kOperaPrefsCleared);
        EXPECT_EQ(Text(folder + "\\opera6.ini"), kOperaPrefsCleared);
        EXPECT_TRUE(PathExists(folder + "\\bookmarks.adr"));
    }
    EXPECT_TRUE(PathExists(opera + "\\global_history.dat"));
    EXPECT_TRUE(PathExists(driveCanary + "\\global_history.dat"));
}

TEST_F(Browsers, OperaIniLockedInOneFolderTheOtherIsStillEdited) {
    for (int lockedIndex : {0, 1}) {
        SCOPED_TRACE(lockedIndex);
        const std::string folders[] = {MakeFolder(opera + "\\a"), MakeFolder(opera + "\\b")};
        for (const std::string& folder : folders) File(folder + "\\operaprefs.ini", kOperaPrefs);
        {
            HeldFile browser(folders[lockedIndex] + "\\operaprefs.ini", 0);
            cleaner.ClearOperaHistory();
        }
        EXPECT_EQ(Text(folders[lockedIndex] + "\\operaprefs.ini"), kOperaPrefs);
        EXPECT_EQ(Text(folders[1 - lockedIndex] + "\\operaprefs.ini"), kOperaPrefsCleared);
        RemoveTree(opera);
    }
}

TEST_F(Browsers, OperaCacheCookiesPasswordsDownloads) {
    const std::string profile = MakeFolder(opera + "\\Opera\\profile");
    const std::string localProfile = MakeFolder(local + "\\Opera\\Opera");
    for (const char* sub : {"cache4", "images", "opcache", "icons", "vps"})
        File(MakeFolder(profile + "\\" + sub + "\\g_0000") + "\\opr00001.tmp");
    File(MakeFolder(localProfile + "\\cache") + "\\opr00002.tmp");
    File(MakeFolder(profile + "\\mail") + "\\inbox.mbs");
    for (const char* name : {"cookies4.dat", "wand.dat", "download.dat", "speeddial.ini"}) File(profile + "\\" + name);
    File(opera + "\\download.dat");
    File(opera + "\\wand.dat");

    cleaner.ClearOperaCache();
    for (const char* sub : {"cache4", "images", "opcache", "icons", "vps"})
        EXPECT_TRUE(IsEmptyFolder(profile + "\\" + sub)) << sub;
    EXPECT_TRUE(IsEmptyFolder(localProfile + "\\cache"));
    EXPECT_TRUE(PathExists(profile + "\\mail\\inbox.mbs"));

    cleaner.ClearOperaCookies();
    EXPECT_FALSE(PathExists(profile + "\\cookies4.dat"));
    cleaner.ClearOperaPasswords();
    EXPECT_FALSE(PathExists(profile + "\\wand.dat"));
    EXPECT_TRUE(PathExists(opera + "\\wand.dat"));
    cleaner.ClearOperaDownloads();
    EXPECT_FALSE(PathExists(profile + "\\download.dat"));
    EXPECT_FALSE(PathExists(opera + "\\download.dat"));
    EXPECT_TRUE(PathExists(profile + "\\speeddial.ini"));
}

TEST_F(Browsers, OperaSpeedDialStaysUnlessItsOwnOptionIsSet) {
    const std::string profile = MakeFolder(opera + "\\Opera\\profile");
    File(profile + "\\speeddial.ini");
    File(profile + "\\opthumb.dat");
    File(MakeFolder(profile + "\\thumbnails") + "\\1.png");
    for (uint32_t* mask : {&settings.historyMask, &settings.cacheMask, &settings.cookiesMask,
                           &settings.passwordsMask, &settings.downloadsMask})
        *mask = BrowserOpera;
    ClearSelectedBrowserItems(cleaner, settings);
    EXPECT_TRUE(PathExists(profile + "\\speeddial.ini"));
    EXPECT_TRUE(PathExists(profile + "\\opthumb.dat"));
    EXPECT_TRUE(PathExists(profile + "\\thumbnails\\1.png"));

    settings.clearOperaSpeedDial = 1;
    ClearSelectedBrowserItems(cleaner, settings);
    EXPECT_FALSE(PathExists(profile + "\\speeddial.ini"));
    EXPECT_FALSE(PathExists(profile + "\\opthumb.dat"));
    EXPECT_TRUE(IsEmptyFolder(profile + "\\thumbnails"));
}

// ---- Safari

TEST_F(Browsers, SafariHistoryFilesPlistEntriesAndHistoryFolder) {
    const std::string preferences = MakeFolder(safari + "\\Preferences");
    for (const std::string& folder : {safari, preferences})
        for (const char* name : {"History.plist", "LastSession.plist", "Form Values.plist", "Bookmarks.plist"})
            File(folder + "\\" + name);
    File(preferences + "\\com.apple.Safari.plist", kSafariPlist);
    File(preferences + "\\Preferences.plist", kSafariPreferences);
    File(safari + "\\com.apple.Safari.plist", kSafariPlistCleared);
    File(MakeFolder(safariLocal + "\\History\\sub") + "\\visited.db");
    File(safariLocal + "\\History.canary");

    cleaner.ClearSafariHistory();
    for (const std::string& folder : {safari, preferences}) {
        for (const char* name : {"History.plist", "LastSession.plist", "Form Values.plist"})
            EXPECT_FALSE(PathExists(folder + "\\" + name)) << folder << name;
        EXPECT_TRUE(PathExists(folder + "\\Bookmarks.plist"));
    }
    EXPECT_EQ(Text(preferences + "\\com.apple.Safari.plist"), kSafariPlistCleared);
    EXPECT_EQ(Text(preferences + "\\Preferences.plist"), kSafariPreferencesCleared);
    EXPECT_EQ(Text(safari + "\\com.apple.Safari.plist"), kSafariPlistCleared);
    EXPECT_TRUE(IsEmptyFolder(safariLocal + "\\History"));
    EXPECT_TRUE(PathExists(safariLocal + "\\History.canary"));
}

TEST_F(Browsers, SafariPlistLockedInOneFolderTheOtherIsStillEdited) {
    const std::string folders[] = {MakeFolder(safari + "\\One"), MakeFolder(safari + "\\Two")};
    for (int lockedIndex : {0, 1}) {
        SCOPED_TRACE(lockedIndex);
        for (const std::string& folder : folders) File(folder + "\\com.apple.Safari.plist", kSafariPlist);
        {
            HeldFile browser(folders[lockedIndex] + "\\com.apple.Safari.plist", 0);
            cleaner.ClearSafariHistory();
        }
        EXPECT_EQ(Text(folders[lockedIndex] + "\\com.apple.Safari.plist"), kSafariPlist);
        EXPECT_EQ(Text(folders[1 - lockedIndex] + "\\com.apple.Safari.plist"), kSafariPlistCleared);
    }
}

TEST_F(Browsers, SafariCacheCookiesPasswordsDownloads) {
    const std::string sub = MakeFolder(safariLocal + "\\Sub");
    for (const std::string& folder : {safariLocal, sub})
        for (const char* name : {"Cache.db", "Cache.db-journal", "WebpageIcons.db"}) File(folder + "\\" + name);
    File(MakeFolder(safariLocal + "\\Webpage Previews") + "\\0a1b2c.png");
    File(MakeFolder(safari + "\\Cookies") + "\\Cookies.plist");
    const std::string preferences = MakeFolder(safari + "\\Preferences");
    File(preferences + "\\keychain.plist");
    File(MakeFolder(preferences + "\\Sub") + "\\keychain.plist");
    File(safari + "\\keychain.plist");
    File(safari + "\\Downloads.plist");
    File(MakeFolder(safari + "\\Profile") + "\\Downloads.plist");
    File(MakeFolder(safari + "\\Profile\\Deeper") + "\\Downloads.plist");

    cleaner.ClearSafariCache();
    for (const std::string& folder : {safariLocal, sub})
        for (const char* name : {"Cache.db", "Cache.db-journal", "WebpageIcons.db"})
            EXPECT_FALSE(PathExists(folder + "\\" + name)) << folder << name;
    EXPECT_TRUE(IsEmptyFolder(safariLocal + "\\Webpage Previews"));
    cleaner.ClearSafariCookies();
    EXPECT_TRUE(IsEmptyFolder(safari + "\\Cookies"));
    cleaner.ClearSafariPasswords();
    EXPECT_FALSE(PathExists(preferences + "\\keychain.plist"));
    EXPECT_FALSE(PathExists(preferences + "\\Sub\\keychain.plist"));
    EXPECT_TRUE(PathExists(safari + "\\keychain.plist"));
    cleaner.ClearSafariDownloads();
    EXPECT_FALSE(PathExists(safari + "\\Downloads.plist"));
    EXPECT_FALSE(PathExists(safari + "\\Profile\\Downloads.plist"));
    EXPECT_TRUE(PathExists(safari + "\\Profile\\Deeper\\Downloads.plist")); // one level only
}
