// The Firefox, Mozilla and Netscape cleaners against profile folders seeded in the sandboxed
// prefix: the files each one removes, the text files it edits, and the canaries beside them that
// must survive.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"

namespace {

const HKEY kUser = HKEY_CURRENT_USER;
const std::string kMozillaKey = "Software\\mozilla.org";
const std::string kNetscapeKey = "Software\\Netscape";

std::string Text(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// A path as prefs.js writes it: every backslash doubled.
std::string JsString(const std::string& path) {
    std::string out;
    for (char c : path) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

const char kPrefs[] =
    "# Mozilla User Preferences\r\n"
    "user_pref(\"browser.cache.disk.capacity\", 50000);\r\n"
    "user_pref(\"browser.download.dir\", \"C:\\\\Users\\\\me\\\\Secret Plans\");\r\n"
    "user_pref(\"browser.download.folderList\", 2);\r\n"
    "user_pref(\"browser.download.lastDir\", \"C:\\\\Users\\\\me\\\\Tax 2009\");\r\n"
    "user_pref(\"browser.open.dir\", \"\");\r\n"
    "user_pref(\"network.cookie.prefsMigrated\", true);\r\n";
const char kPrefsCleared[] =
    "# Mozilla User Preferences\r\n"
    "user_pref(\"browser.cache.disk.capacity\", 50000);\r\n"
    "user_pref(\"browser.download.dir\", \"\");\r\n"
    "user_pref(\"browser.download.folderList\", 2);\r\n"
    "user_pref(\"browser.download.lastDir\", \"\");\r\n"
    "user_pref(\"browser.open.dir\", \"\");\r\n"
    "user_pref(\"network.cookie.prefsMigrated\", true);\r\n";

const char kLocalstore[] =
    "<?xml version=\"1.0\"?>\n<RDF:RDF xmlns:NC=\"http://home.netscape.com/NC-rdf#\"\n"
    "         xmlns:RDF=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "  <RDF:Seq RDF:about=\"nc:urlbar-history\">\n"
    "    <RDF:li>http://secret.example/a</RDF:li>\n"
    "    <RDF:li>http://secret.example/b</RDF:li>\n"
    "  </RDF:Seq>\n"
    "  <RDF:Description RDF:about=\"chrome://navigator/content/navigator.xul#main-window\" width=\"800\"/>\n"
    "</RDF:RDF>\n";
const char kLocalstoreCleared[] =
    "<?xml version=\"1.0\"?>\n<RDF:RDF xmlns:NC=\"http://home.netscape.com/NC-rdf#\"\n"
    "         xmlns:RDF=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "  <RDF:Seq RDF:about=\"nc:urlbar-history\"></RDF:Seq>\n"
    "  <RDF:Description RDF:about=\"chrome://navigator/content/navigator.xul#main-window\" width=\"800\"/>\n"
    "</RDF:RDF>\n";

struct Mozilla : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    RecordingObserver observer;
    const std::string appData = ShellFolderPath(CSIDL_APPDATA);
    const std::string local = ShellFolderPath(CSIDL_LOCAL_APPDATA);
    const std::string firefox = appData + "\\Mozilla\\Firefox\\Profiles";
    const std::string suite = appData + "\\Mozilla\\Profiles";
    const std::string netscape = appData + "\\Netscape\\Nsb\\Profiles";

    void SetUp() override {
        settings.ApplyDefaults();
        cleaner.SetObserver(&observer);
    }
    void TearDown() override {
        cleaner.SetObserver(nullptr);
        for (const std::string& tree : {appData + "\\Mozilla", local + "\\Mozilla", appData + "\\Netscape",
                                        appData + "\\ZltOutside", local + "\\ZltOutside", appData + "\\ZltInstall"})
            RemoveTree(tree);
        RemoveTree("C:\\ZltDriveCanary");
        DeleteKeyTree(kUser, kMozillaKey);
        DeleteKeyTree(kUser, kNetscapeKey);
    }
    std::string File(const std::string& path, const std::string& text = "trace") {
        WriteTextFile(path, text);
        return path;
    }
    // Registers `folder` as the installation folder of one version of a suite.
    void Install(const std::string& key, const std::string& version, const std::string& folder) {
        SetString(kUser, key + "\\" + version + "\\Main", "Install Directory", folder);
    }
};

} // namespace

// ---- Firefox

TEST_F(Mozilla, FirefoxHistoryReachesEveryDepthCookiesOnlyTheProfilesThemselves) {
    const std::string profile = MakeFolder(firefox + "\\ab12cd34.default");
    const std::string nested = MakeFolder(profile + "\\nested.profile");
    for (const std::string& folder : {profile, nested}) {
        File(folder + "\\history.dat");
        File(folder + "\\cookies.txt");
    }
    File(profile + "\\formhistory.dat");
    File(profile + "\\formhistory.sqlite");
    File(profile + "\\formhistory.sqlite-wal");
    File(profile + "\\cookies.sqlite");
    File(profile + "\\cookies.sqlite-journal");
    File(profile + "\\history.dat.canary");
    File(profile + "\\permissions.sqlite");

    cleaner.ClearFirefoxHistory();
    EXPECT_FALSE(PathExists(profile + "\\history.dat"));
    EXPECT_FALSE(PathExists(nested + "\\history.dat"));
    EXPECT_FALSE(PathExists(profile + "\\formhistory.dat"));
    EXPECT_FALSE(PathExists(profile + "\\formhistory.sqlite"));
    EXPECT_FALSE(PathExists(profile + "\\formhistory.sqlite-wal"));
    EXPECT_TRUE(PathExists(profile + "\\cookies.txt"));

    cleaner.ClearFirefoxCookies();
    EXPECT_FALSE(PathExists(profile + "\\cookies.txt"));
    EXPECT_FALSE(PathExists(profile + "\\cookies.sqlite"));
    EXPECT_FALSE(PathExists(profile + "\\cookies.sqlite-journal"));
    EXPECT_TRUE(PathExists(nested + "\\cookies.txt"));
    EXPECT_TRUE(PathExists(profile + "\\history.dat.canary"));
    EXPECT_TRUE(PathExists(profile + "\\permissions.sqlite"));
}

TEST_F(Mozilla, RememberedFoldersEmptiedInEveryProfileALockedPrefsFileIsSkipped) {
    // Either profile may come first in the folder's enumeration: lock each in turn.
    for (int lockedIndex : {0, 1}) {
        SCOPED_TRACE(lockedIndex);
        const std::string profiles[] = {MakeFolder(firefox + "\\one.default"), MakeFolder(firefox + "\\two.work")};
        for (const std::string& profile : profiles) File(profile + "\\prefs.js", kPrefs);
        File(profiles[0] + "\\user.js", kPrefs);
        {
            HeldFile browser(profiles[lockedIndex] + "\\prefs.js", 0);
            ASSERT_TRUE(browser.held());
            cleaner.ClearFirefoxHistory();
        }
        EXPECT_EQ(Text(profiles[lockedIndex] + "\\prefs.js"), kPrefs);
        EXPECT_EQ(Text(profiles[1 - lockedIndex] + "\\prefs.js"), kPrefsCleared);
        EXPECT_EQ(Text(profiles[0] + "\\user.js"), kPrefs);
        cleaner.ClearFirefoxHistory();
        EXPECT_EQ(Text(profiles[lockedIndex] + "\\prefs.js"), kPrefsCleared);
        RemoveTree(firefox);
    }
}

TEST_F(Mozilla, FirefoxCacheFilesInRoamingAndLocalProfilesGoSubfoldersStay) {
    const std::string roaming = MakeFolder(firefox + "\\r.default\\Cache");
    const std::string localCache = MakeFolder(local + "\\Mozilla\\Firefox\\Profiles\\r.default\\Cache");
    for (const std::string& cache : {roaming, localCache}) {
        File(cache + "\\_CACHE_MAP_");
        File(cache + "\\_CACHE_001_");
        File(MakeFolder(cache + "\\0\\1F") + "\\8A2B3Cd01");
    }
    File(firefox + "\\r.default\\Cache.canary");
    cleaner.ClearFirefoxCache();
    for (const std::string& cache : {roaming, localCache}) {
        EXPECT_FALSE(PathExists(cache + "\\_CACHE_MAP_"));
        EXPECT_FALSE(PathExists(cache + "\\_CACHE_001_"));
        EXPECT_TRUE(PathExists(cache + "\\0\\1F\\8A2B3Cd01"));
    }
    EXPECT_TRUE(PathExists(firefox + "\\r.default\\Cache.canary"));
}

TEST_F(Mozilla, FirefoxPasswordsAndDownloads) {
    const std::string profile = MakeFolder(firefox + "\\p.default");
    for (const char* name : {"signons.txt", "signons2.txt", "signons3.txt", "key3.db", "downloads.rdf",
                             "downloads.sqlite", "downloads.sqlite-wal", "logins.json"})
        File(profile + "\\" + name);
    File(firefox + "\\downloads.rdf");
    File(firefox + "\\signons3.txt");
    cleaner.ClearFirefoxPasswords();
    for (const char* name : {"signons.txt", "signons2.txt", "signons3.txt"})
        EXPECT_FALSE(PathExists(profile + "\\" + name)) << name;
    EXPECT_FALSE(PathExists(profile + "\\logins.json"));
    EXPECT_TRUE(PathExists(profile + "\\key3.db"));
    EXPECT_TRUE(PathExists(firefox + "\\signons3.txt")); // the root is no profile

    cleaner.ClearFirefoxDownloads();
    EXPECT_FALSE(PathExists(firefox + "\\downloads.rdf"));
    for (const char* name : {"downloads.rdf", "downloads.sqlite", "downloads.sqlite-wal"})
        EXPECT_FALSE(PathExists(profile + "\\" + name)) << name;
}

// profiles.ini may name a profile anywhere (an absolute path): Firefox uses it, so it is cleaned.
// A relative one that climbs out with ".." is no folder of Firefox's own and is never touched.
TEST_F(Mozilla, ProfilesNamedInProfilesIniAreCleanedWhereverTheyAreButNeverThroughDotDot) {
    const std::string absolute = MakeFolder(local + "\\ZltOutside\\elsewhere.default");
    const std::string climbing = MakeFolder(appData + "\\ZltOutside\\climbed.default");
    const std::string inside = MakeFolder(firefox + "\\inside.default");
    File(appData + "\\Mozilla\\Firefox\\profiles.ini",
         "[General]\r\nStartWithLastProfile=1\r\n\r\n"
         "[Profile0]\r\nName=default\r\nIsRelative=0\r\nPath=" + absolute + "\r\nDefault=1\r\n\r\n"
         "[Profile1]\r\nName=climbed\r\nIsRelative=1\r\nPath=../../ZltOutside/climbed.default\r\n\r\n"
         "[Profile2]\r\nName=climbed2\r\nIsRelative=1\r\nPath=Profiles\\..\\..\\..\\ZltOutside\\climbed.default\r\n\r\n"
         "[Profile3]\r\nName=inside\r\nIsRelative=1\r\nPath=Profiles/inside.default\r\n");
    const char* names[] = {"history.dat", "places.sqlite", "formhistory.sqlite", "cookies.sqlite", "cookies.txt",
                           "signons3.txt", "downloads.sqlite"};
    for (const std::string& folder : {absolute, climbing, inside}) {
        for (const char* name : names) File(folder + "\\" + name);
        File(folder + "\\prefs.js", kPrefs);
        File(MakeFolder(folder + "\\Cache") + "\\_CACHE_001_");
        File(MakeFolder(folder + "\\bookmarkbackups") + "\\bookmarks-2010-01-01.json");
    }
    for (uint32_t bookmarks : {0u, uint32_t(BrowserFirefox)}) {
        settings.bookmarksMask = bookmarks;
        cleaner.ClearFirefoxHistory();
        cleaner.ClearFirefoxCache();
        cleaner.ClearFirefoxCookies();
        cleaner.ClearFirefoxPasswords();
        cleaner.ClearFirefoxDownloads();
        cleaner.PurgeFirefoxHistoryDatabase();
    }
    for (const char* name : names) EXPECT_EQ(Text(climbing + "\\" + name), "trace") << name;
    EXPECT_EQ(Text(climbing + "\\prefs.js"), kPrefs);
    EXPECT_TRUE(PathExists(climbing + "\\Cache\\_CACHE_001_"));
    EXPECT_TRUE(PathExists(climbing + "\\bookmarkbackups\\bookmarks-2010-01-01.json"));
    for (const std::string& folder : {absolute, inside}) {
        for (const char* name : names) EXPECT_FALSE(PathExists(folder + "\\" + name)) << folder << name;
        EXPECT_FALSE(PathExists(folder + "\\Cache\\_CACHE_001_")) << folder;
        EXPECT_FALSE(PathExists(folder + "\\bookmarkbackups\\bookmarks-2010-01-01.json")) << folder;
        EXPECT_EQ(Text(folder + "\\prefs.js"), kPrefsCleared) << folder;
    }
}

// ---- Mozilla and Netscape

TEST_F(Mozilla, SuiteHistoryInProfilesAndRegisteredInstallFoldersNetscapeAlsoClearsMozilla) {
    const std::string mozillaProfile = MakeFolder(suite + "\\default\\x1y2z3.slt");
    const std::string install = MakeFolder(appData + "\\ZltInstall\\Mozilla 1.7\\defaults\\profile");
    Install(kMozillaKey + "\\Mozilla", "1.7.13 (en)", appData + "\\ZltInstall\\Mozilla 1.7");
    Install(kMozillaKey + "\\Mozilla", "1.8 (en)", ""); // a version without a folder adds nothing
    const std::string netscapeProfile = MakeFolder(netscape + "\\me\\a1b2.slt");
    for (const std::string& folder : {mozillaProfile, install, netscapeProfile}) {
        File(folder + "\\history.dat");
        File(folder + "\\localstore.rdf", kLocalstore);
        File(folder + "\\prefs.js", kPrefs);
        File(folder + "\\bookmarks.html");
    }
    File(appData + "\\ZltInstall\\history.dat"); // the installation folder itself is not in the list
    File(appData + "\\ZltInstall\\Mozilla 1.7\\mozilla.exe", "MZ");

    cleaner.ClearNetscapeHistory();
    for (const std::string& folder : {mozillaProfile, install, netscapeProfile}) {
        SCOPED_TRACE(folder);
        EXPECT_FALSE(PathExists(folder + "\\history.dat"));
        EXPECT_EQ(Text(folder + "\\localstore.rdf"), kLocalstoreCleared);
        EXPECT_EQ(Text(folder + "\\prefs.js"), kPrefsCleared);
        EXPECT_TRUE(PathExists(folder + "\\bookmarks.html"));
    }
    EXPECT_TRUE(PathExists(appData + "\\ZltInstall\\history.dat"));
}

TEST_F(Mozilla, RegisteredFoldersThatWouldWalkAWholeDriveAreNotWalked) {
    const std::string canary = MakeFolder("C:\\ZltDriveCanary\\profile");
    File(canary + "\\history.dat");
    File(canary + "\\cookies.txt");
    Install(kMozillaKey + "\\Mozilla", "1.0", "C:\\");
    Install(kNetscapeKey + "\\Netscape Installer", "7.2", "C:\\ZltDriveCanary\\profile\\..\\..");
    cleaner.ClearMozillaHistory();
    cleaner.ClearNetscapeCookies();
    EXPECT_TRUE(PathExists(canary + "\\history.dat"));
    EXPECT_TRUE(PathExists(canary + "\\cookies.txt"));
}

TEST_F(Mozilla, RegisteredFoldersThatAreNotTheSuitesOwnAreNotWalked) {
    // A folder without the suite's program, and the user's profile root even with one in it: a
    // registry value can name any folder, and every folder below loses its "history.dat".
    const std::string stranger = MakeFolder(appData + "\\ZltInstall\\Stranger\\data");
    const std::string home = ShellFolderPath(CSIDL_PROFILE);
    const std::string homeData = MakeFolder(home + "\\ZltHomeData");
    for (const std::string& folder : {stranger, homeData}) File(folder + "\\history.dat");
    File(home + "\\mozilla.exe", "MZ");
    Install(kMozillaKey + "\\Mozilla", "1.0", appData + "\\ZltInstall\\Stranger");
    Install(kMozillaKey + "\\Mozilla", "2.0", home);
    cleaner.ClearMozillaHistory();
    DeleteFileA((home + "\\mozilla.exe").c_str());
    EXPECT_TRUE(PathExists(stranger + "\\history.dat"));
    EXPECT_TRUE(PathExists(homeData + "\\history.dat"));
    RemoveTree(homeData);
}

TEST_F(Mozilla, SuiteUrlbarAndPrefsEditorsSkipALockedFileAndGoOn) {
    for (int lockedIndex : {0, 1}) {
        SCOPED_TRACE(lockedIndex);
        const std::string profiles[] = {MakeFolder(suite + "\\a\\one.slt"), MakeFolder(suite + "\\b\\two.slt")};
        for (const std::string& profile : profiles) {
            File(profile + "\\localstore.rdf", kLocalstore);
            File(profile + "\\prefs.js", kPrefs);
        }
        {
            HeldFile rdf(profiles[lockedIndex] + "\\localstore.rdf", 0);
            HeldFile prefs(profiles[lockedIndex] + "\\prefs.js", 0);
            cleaner.ClearMozillaHistory();
        }
        EXPECT_EQ(Text(profiles[lockedIndex] + "\\localstore.rdf"), kLocalstore);
        EXPECT_EQ(Text(profiles[lockedIndex] + "\\prefs.js"), kPrefs);
        EXPECT_EQ(Text(profiles[1 - lockedIndex] + "\\localstore.rdf"), kLocalstoreCleared);
        EXPECT_EQ(Text(profiles[1 - lockedIndex] + "\\prefs.js"), kPrefsCleared);
        RemoveTree(suite);
    }
}

TEST_F(Mozilla, SuiteCacheFolderNamedInPrefsLosesItsFilesOnly) {
    const std::string parent = MakeFolder(appData + "\\ZltOutside\\cache parent");
    const std::string cache = MakeFolder(parent + "\\Cache");
    File(cache + "\\_CACHE_MAP_");
    File(cache + "\\0A1B2C3Dd01");
    File(MakeFolder(cache + "\\sub") + "\\kept");
    File(parent + "\\canary");
    const std::string withPref = MakeFolder(suite + "\\me\\with.slt");
    const std::string withoutPref = MakeFolder(suite + "\\me\\without.slt");
    File(withPref + "\\prefs.js", std::string(kPrefs) + "user_pref(\"browser.cache.disk.parent_directory\", \"" +
                                      JsString(parent) + "\");\r\n");
    File(withoutPref + "\\prefs.js", kPrefs);
    File(MakeFolder(withoutPref + "\\Cache") + "\\_CACHE_MAP_");

    cleaner.ClearMozillaCache();
    EXPECT_FALSE(PathExists(cache + "\\_CACHE_MAP_"));
    EXPECT_FALSE(PathExists(cache + "\\0A1B2C3Dd01"));
    EXPECT_TRUE(PathExists(cache + "\\sub\\kept"));
    EXPECT_TRUE(PathExists(parent + "\\canary"));
    EXPECT_TRUE(PathExists(withoutPref + "\\Cache\\_CACHE_MAP_"));
    EXPECT_TRUE(observer.warnings.empty());
}

TEST_F(Mozilla, SuiteCachePrefsThatCannotBeOpenedIsReportedAndTheNextProfileCleaned) {
    const std::string parent = MakeFolder(appData + "\\ZltOutside\\parent");
    File(MakeFolder(parent + "\\Cache") + "\\_CACHE_MAP_");
    const std::string pref = "user_pref(\"browser.cache.disk.parent_directory\", \"" + JsString(parent) + "\");\n";
    const std::string locked = MakeFolder(netscape + "\\a\\locked.slt");
    const std::string open = MakeFolder(netscape + "\\b\\open.slt");
    File(locked + "\\prefs.js", pref);
    File(open + "\\prefs.js", pref);
    {
        // A running browser lets others read its prefs.js, but the cleaner asks for sole access.
        HeldFile browser(locked + "\\prefs.js", FILE_SHARE_READ);
        cleaner.ClearNetscapeCache();
    }
    EXPECT_EQ(observer.warnings, std::vector<std::string>{"Error: File open error 11"});
    EXPECT_FALSE(PathExists(parent + "\\Cache\\_CACHE_MAP_"));
}

TEST_F(Mozilla, SuiteCookiesPasswordsAndDownloads) {
    const std::string mozillaProfile = MakeFolder(suite + "\\me\\m.slt");
    const std::string netscapeProfile = MakeFolder(netscape + "\\me\\n.slt");
    for (const std::string& folder : {mozillaProfile, netscapeProfile})
        for (const char* name : {"cookies.txt", "cookperm.txt", "downloads.rdf", "hostperm.1"})
            File(folder + "\\" + name);
    File(suite + "\\downloads.rdf");
    File(netscape + "\\downloads.rdf");
    for (const char* name : {"12345678.s", ".s", "a1234567.s", "12345678.sx", "1234 5678.s"})
        File(mozillaProfile + "\\" + name);
    File(suite + "\\87654321.s");
    for (const char* name : {"5f3a.r7u", "deep.r7u", "5f3a.r7u.bak", "key3.db"}) File(netscapeProfile + "\\" + name);

    cleaner.ClearMozillaCookies();
    EXPECT_FALSE(PathExists(mozillaProfile + "\\cookies.txt"));
    EXPECT_FALSE(PathExists(mozillaProfile + "\\cookperm.txt"));
    EXPECT_TRUE(PathExists(netscapeProfile + "\\cookies.txt"));
    cleaner.ClearNetscapeCookies();
    EXPECT_FALSE(PathExists(netscapeProfile + "\\cookies.txt"));
    EXPECT_FALSE(PathExists(netscapeProfile + "\\cookperm.txt"));

    cleaner.ClearMozillaPasswords();
    for (const char* gone : {"12345678.s", ".s"}) EXPECT_FALSE(PathExists(mozillaProfile + "\\" + gone)) << gone;
    for (const char* kept : {"a1234567.s", "12345678.sx", "1234 5678.s"})
        EXPECT_TRUE(PathExists(mozillaProfile + "\\" + kept)) << kept;
    EXPECT_FALSE(PathExists(suite + "\\87654321.s"));
    cleaner.ClearNetscapePasswords();
    EXPECT_FALSE(PathExists(netscapeProfile + "\\5f3a.r7u"));
    EXPECT_FALSE(PathExists(netscapeProfile + "\\deep.r7u"));
    EXPECT_TRUE(PathExists(netscapeProfile + "\\5f3a.r7u.bak"));
    EXPECT_TRUE(PathExists(netscapeProfile + "\\key3.db"));

    cleaner.ClearMozillaDownloads();
    EXPECT_FALSE(PathExists(suite + "\\downloads.rdf"));
    EXPECT_FALSE(PathExists(mozillaProfile + "\\downloads.rdf"));
    EXPECT_TRUE(PathExists(netscape + "\\downloads.rdf"));
    cleaner.ClearNetscapeDownloads();
    EXPECT_FALSE(PathExists(netscape + "\\downloads.rdf"));
    EXPECT_FALSE(PathExists(netscapeProfile + "\\downloads.rdf"));
    for (const std::string& folder : {mozillaProfile, netscapeProfile})
        EXPECT_TRUE(PathExists(folder + "\\hostperm.1"));
}
