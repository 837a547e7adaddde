// Links that lead out of a browser's folders (made by engine_browser_links_setup.sh): the cleaners
// neither edit a database or a text file through them nor empty the folder they lead to.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/places_fixture.h"

namespace {

const std::string kOutside = "C:\\zlt-outside";
const char kPrefs[] = "user_pref(\"browser.download.dir\", \"C:\\\\Users\\\\me\\\\Secret\");\r\n"
                      "user_pref(\"browser.download.lastDir\", \"C:\\\\Users\\\\me\\\\Plans\");\r\n";

std::string Text(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(BrowserLinks, DatabaseAndPrefsReachedThroughALinkStayAsTheyAre) {
    const std::string profile = ShellFolderPath(CSIDL_APPDATA) + "\\Mozilla\\Firefox\\Profiles\\linked.default";
    const PlacesContent content = MakePlaces(kOutside + "\\places.sqlite", PlacesSchema::Current, 20);
    WriteTextFile(kOutside + "\\prefs.js", kPrefs);
    // The links lead where the fixtures were written: the test can see a change made through them.
    ASSERT_EQ(Text(profile + "\\prefs.js"), kPrefs);
    ProgramSettings settings;
    settings.ApplyDefaults();
    HistoryCleaner cleaner(&settings);

    cleaner.ClearFirefoxHistory();
    cleaner.PurgeFirefoxHistoryDatabase();

    PlacesDb db(kOutside + "\\places.sqlite");
    EXPECT_EQ(db.Count("SELECT count(*) FROM moz_places"),
              static_cast<long long>(content.kept.size() + content.removed.size()));
    EXPECT_EQ(db.Count("SELECT count(*) FROM moz_historyvisits"), 40);
    EXPECT_EQ(Text(kOutside + "\\prefs.js"), kPrefs);
}

TEST(BrowserLinks, CacheFoldersThatAreLinksAreNotEmptied) {
    WriteTextFile(kOutside + "\\cache\\keep.txt", "keep");
    MakeFolder(kOutside + "\\cache\\inner");
    WriteTextFile(kOutside + "\\cache\\inner\\deep.txt", "keep");
    const std::string chromeCache = ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\Google\\Chrome\\User Data\\Default\\Cache";
    ASSERT_TRUE(PathExists(chromeCache + "\\keep.txt"));
    WriteTextFile(chromeCache.substr(0, chromeCache.rfind('\\')) + "\\Preferences", "{}"); // a profile of Chrome
    ProgramSettings settings;
    settings.ApplyDefaults();
    HistoryCleaner cleaner(&settings);
    for (uint8_t shred : {0, 1}) {
        settings.shredFiles = shred;
        cleaner.ClearChromeCache();
        cleaner.ClearOperaCache();
        EXPECT_EQ(Text(kOutside + "\\cache\\keep.txt"), "keep");
        EXPECT_EQ(Text(kOutside + "\\cache\\inner\\deep.txt"), "keep");
    }
}
