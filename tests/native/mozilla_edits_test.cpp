// "prefs.js" and "localstore.rdf" editing, the cache folder named in "prefs.js", and the statements
// run on "places.sqlite". Expected texts are written out by hand from the cut rules; the statement
// texts are the system's own, copied as they are.
#include <gtest/gtest.h>

#include "engine/cleaners/mozilla_edits.h"
#include "tests/native/sqlite_test_db.h"

TEST(PrefsJs, RememberedFoldersEmptiedEverythingElseKept) {
    const std::string prefs = R"js(# Mozilla User Preferences

user_pref("browser.download.dir", "C:\\Users\\u\\Downloads");
user_pref("browser.download.lastDir", "C:\\Users\\u\\Desktop");
user_pref("browser.download.useDownloadDir", true);
user_pref("browser.open.dir", "D:\\Photos");
user_pref("browser.startup.homepage", "http://example.com/");
)js";
    const std::string cleared = R"js(# Mozilla User Preferences

user_pref("browser.download.dir", "");
user_pref("browser.download.lastDir", "");
user_pref("browser.download.useDownloadDir", true);
user_pref("browser.open.dir", "");
user_pref("browser.startup.homepage", "http://example.com/");
)js";
    EXPECT_EQ(PrefsWithoutDownloadDirs(prefs), cleared);
    EXPECT_EQ(PrefsWithoutDownloadDirs(cleared), std::nullopt); // empty values stay, nothing to write
}

TEST(PrefsJs, OnlyTheFirstOccurrenceCountsAndNeverAtByteZero) {
    EXPECT_EQ(PrefWithEmptyValue("browser.download.dir\nuser_pref(\"browser.download.dir\", \"C:\\\\x\");\n",
                                 "browser.download.dir"),
              std::nullopt);
    EXPECT_EQ(PrefWithEmptyValue("user_pref(\"browser.download.dir\", \"C:\\\\x\"", "browser.download.dir"),
              std::nullopt); // no closing `");`
    EXPECT_EQ(PrefWithEmptyValue("user_pref(\"Browser.Download.Dir\", \"C:\\\\x\");", "browser.download.dir"),
              std::nullopt);
}

TEST(PrefsJs, NameInsideALongerNameNeverTakesOtherPreferencesWithIt) {
    // Read from the name's first occurrence, the quotes and `");` lie on later lines: the cut would
    // remove the second preference whole and the third's name.
    const std::string prefs = R"js(# Mozilla User Preferences

user_pref("browser.download.lastDir.savePerSite", false);
user_pref("browser.download.manager.showWhenStarting", false);
user_pref("browser.startup.homepage", "http://example.com/");
)js";
    EXPECT_EQ(PrefsWithoutDownloadDirs(prefs), std::nullopt);
    EXPECT_EQ(
        PrefWithEmptyValue("x\nuser_pref(\"browser.download.dirX\", \"C:\\\\x\");\n", "browser.download.dir"),
        std::nullopt);
    // A value that is not a string: the next quotes belong to the next line.
    EXPECT_EQ(PrefWithEmptyValue("x\nuser_pref(\"browser.download.dir\", 5);\nuser_pref(\"a\", \"b\");\n",
                                 "browser.download.dir"),
              std::nullopt);
}

TEST(LocalstoreRdf, AddressBarEntriesGoTheEmptySequenceStays) {
    const std::string head = R"(<?xml version="1.0"?>
<RDF:RDF xmlns:NC="http://home.netscape.com/NC-rdf#"
         xmlns:RDF="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
)";
    const std::string tail = R"(
  <RDF:Description RDF:about="chrome://navigator/content/navigator.xul">
    <NC:persist RDF:resource="chrome://navigator/content/navigator.xul#main-window"/>
  </RDF:Description>
</RDF:RDF>
)";
    const std::string emptied = head + R"(  <RDF:Seq RDF:about="nc:urlbar-history"></RDF:Seq>)" + tail;
    EXPECT_EQ(LocalstoreWithoutUrlbarHistory(head + R"(  <RDF:Seq RDF:about="nc:urlbar-history">
    <RDF:li>http://a.example/</RDF:li>
    <RDF:li>http://b.example/</RDF:li>
  </RDF:Seq>)" + tail),
              emptied);
    EXPECT_EQ(LocalstoreWithoutUrlbarHistory(emptied), std::nullopt);
}

TEST(LocalstoreRdf, LeftAsItIs) {
    const std::string other = R"(<RDF:Seq RDF:about="nc:other"><RDF:li>x</RDF:li></RDF:Seq>)";
    // The file's first end tag lies before the address-bar sequence.
    EXPECT_EQ(
        LocalstoreWithoutUrlbarHistory(
            "<RDF:RDF>" + other + R"(<RDF:Seq RDF:about="nc:urlbar-history"><RDF:li>u</RDF:li></RDF:Seq>)"),
        std::nullopt);
    EXPECT_EQ(LocalstoreWithoutUrlbarHistory(R"(nc:urlbar-history"><RDF:li>u</RDF:li></RDF:Seq>)"),
              std::nullopt);
    // Where the name does not end a sequence's opening tag, cutting from two characters past it to
    // the next end tag would take another sequence's opening tag and entries.
    EXPECT_EQ(LocalstoreWithoutUrlbarHistory(R"(<RDF:RDF><RDF:Seq RDF:about="nc:urlbar-history"/>)" + other),
              std::nullopt);
    EXPECT_EQ(LocalstoreWithoutUrlbarHistory(R"(<RDF:RDF><RDF:Description RDF:about="nc:urlbar-history">)"
                                             R"(</RDF:Description>)" +
                                             other),
              std::nullopt);
}

TEST(PrefsJs, DiskCacheFolderVerbatim) {
    EXPECT_EQ(PrefsDiskCacheFolder(
                  "x\nuser_pref(\"browser.cache.disk.parent_directory\", \"C:\\\\Temp\\\\moz\");\n"),
              "C:\\\\Temp\\\\moz\\Cache");
    EXPECT_EQ(PrefsDiskCacheFolder(R"(user_pref("browser.cache.disk.parent_directory", "\\\\srv\\c");)"),
              R"(\\\\srv\\c\Cache)");
    EXPECT_EQ(PrefsDiskCacheFolder(R"(user_pref("browser.cache.disk.parent_directory","C:\\x");)"),
              std::nullopt);
    EXPECT_EQ(PrefsDiskCacheFolder(R"(user_pref("browser.cache.disk.parent_directory", "C:\\x)"),
              std::nullopt);
    EXPECT_EQ(PrefsDiskCacheFolder(R"(user_pref("browser.download.dir", "C:\\x");)"), std::nullopt);
    // Nothing or a relative name: "\Cache" of the current drive, or a folder below the current one.
    EXPECT_EQ(PrefsDiskCacheFolder(R"(user_pref("browser.cache.disk.parent_directory", "");)"), std::nullopt);
    EXPECT_EQ(PrefsDiskCacheFolder(R"(user_pref("browser.cache.disk.parent_directory", "moz");)"),
              std::nullopt);
}

TEST(PlacesSqlite, TheFiveStatements) {
    const std::vector<std::string> expected = {
        R"sql(UPDATE moz_favicons SET url="                                ",data="                                " WHERE moz_favicons.id IN (SELECT moz_places.favicon_id FROM moz_places LEFT JOIN moz_bookmarks ON moz_places.id=moz_bookmarks.fk WHERE moz_bookmarks.fk ISNULL AND moz_places.url NOT LIKE 'place:%'))sql",
        R"sql(DELETE FROM moz_favicons WHERE moz_favicons.id IN (SELECT moz_places.favicon_id FROM moz_places LEFT JOIN moz_bookmarks ON moz_places.id=moz_bookmarks.fk WHERE moz_bookmarks.fk ISNULL AND moz_places.url NOT LIKE 'place:%'))sql",
        R"sql(UPDATE moz_places SET url="                                ",title="                                ",rev_host="                                " WHERE moz_places.id IN (SELECT moz_places.id FROM moz_places LEFT JOIN moz_bookmarks ON moz_places.id=moz_bookmarks.fk WHERE moz_bookmarks.fk ISNULL AND moz_places.url NOT LIKE 'place:%'))sql",
        R"sql(DELETE FROM moz_places WHERE moz_places.id IN (SELECT moz_places.id FROM moz_places LEFT JOIN moz_bookmarks ON moz_places.id=moz_bookmarks.fk WHERE moz_bookmarks.fk ISNULL AND moz_places.url NOT LIKE 'place:%'))sql",
        R"sql(DELETE FROM moz_historyvisits WHERE 1=1)sql",
    };
    EXPECT_EQ(FirefoxHistoryStatements(), expected);
}

namespace {

// Two bookmarked-or-query places that stay and two unbookmarked ones that go, each with a visit.
void MakePlaces(TestDb& db, bool uniqueUrlIndex) {
    db.Exec("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, "
            "rev_host LONGVARCHAR, favicon_id INTEGER)");
    if (uniqueUrlIndex) db.Exec("CREATE UNIQUE INDEX moz_places_url_uniqueindex ON moz_places (url)");
    db.Exec("CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, fk INTEGER)");
    db.Exec("CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, place_id INTEGER)");
    db.Exec("CREATE TABLE moz_favicons (id INTEGER PRIMARY KEY, url LONGVARCHAR, data BLOB)");
    db.Exec("INSERT INTO moz_places VALUES (1, 'http://kept.example/', 'Kept', 'elpmaxe.tpek.', 1),"
            "(2, 'place:folder=TOOLBAR', 'Query', NULL, NULL),"
            "(3, 'http://gone-one.example/', 'Gone one', 'elpmaxe.eno-enog.', 3),"
            "(4, 'http://gone-two.example/', 'Gone two', 'elpmaxe.owt-enog.', 4)");
    db.Exec("INSERT INTO moz_bookmarks VALUES (10, 1)");
    db.Exec("INSERT INTO moz_historyvisits VALUES (1, 1), (2, 2), (3, 3), (4, 4)");
    db.Exec("INSERT INTO moz_favicons VALUES (1, 'http://kept.example/favicon.ico', x'4b4b'),"
            "(3, 'http://gone-one.example/favicon.ico', x'4747'), (4, 'http://gone-two.example/favicon.ico', "
            "x'4747')");
}

void RunIgnoringErrors(TestDb& db, const std::vector<std::string>& statements) {
    for (const std::string& sql : statements) db.Run(sql);
}

} // namespace

TEST(PlacesSqlite, BookmarksAndQueriesStayNothingRemovedStaysReadable) {
    for (bool oldSchema : {false, true}) {
        SCOPED_TRACE(oldSchema ? "unique url index" : "no unique url index");
        TestDb db;
        MakePlaces(db, oldSchema);
        db.Exec("PRAGMA secure_delete=ON"); // as every cleaning connection has it
        RunIgnoringErrors(db, FirefoxHistoryStatements());
        EXPECT_EQ(db.Column("SELECT url FROM moz_places ORDER BY id"),
                  (std::vector<std::string>{"http://kept.example/", "place:folder=TOOLBAR"}));
        EXPECT_EQ(db.Column("SELECT url FROM moz_favicons"),
                  std::vector<std::string>{"http://kept.example/favicon.ico"});
        EXPECT_TRUE(db.Column("SELECT id FROM moz_historyvisits").empty());
        for (const char* removed : {"gone-one", "gone-two", "Gone one", "eno-enog", "owt-enog"})
            EXPECT_FALSE(db.Holds(removed)) << removed;
    }
}
