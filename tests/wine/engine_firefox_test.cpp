// The Firefox family as Firefox finds it today: the profiles of profiles.ini and installs.ini
// (relative and absolute), one only in the Profiles folder, LibreWolf's, the Store build's, and one
// reached through a link, which stays as it is. Every option on real-schema files with markers:
// nothing removed is readable in any byte of a profile afterwards, every keeper keeps its bytes.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <sqlite3.h>

#include <map>

#include "app/option_keys.h"
#include "engine/clearing_run.h"
#include "engine/recording.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/places_fixture.h"

namespace {

void Sql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

std::string Scalar(const std::string& path, const std::string& query) {
    PlacesDb db(path);
    const std::vector<std::string> values = db.Column(query);
    return values.empty() ? "(none)" : values.front();
}

struct Profile {
    std::string folder, local;
    PlacesContent places;
};

// A whole profile of today's Firefox, every removable trace marked with `tag`.
Profile MakeProfile(const std::string& folder, const std::string& local, const std::string& tag) {
    Profile p{MakeFolder(folder), MakeFolder(local), {}};
    p.places = MakePlaces(folder + "\\places.sqlite", PlacesSchema::Current, 40);
    Sql(folder + "\\places.sqlite",
        "INSERT INTO moz_anno_attributes (id, name) VALUES (1, 'downloads/destinationFileURI');"
        "INSERT INTO moz_annos (place_id, anno_attribute_id, content) VALUES (1, 1, 'file:///C:/" + tag +
            "-download-secret.zip');"
        "CREATE TABLE moz_places_metadata (id INTEGER PRIMARY KEY, place_id INTEGER, referrer_place_id INTEGER,"
        " created_at INTEGER, updated_at INTEGER, total_view_time INTEGER, typing_time INTEGER, key_presses INTEGER,"
        " scrolling_time INTEGER, scrolling_distance INTEGER, document_type INTEGER, search_query_id INTEGER);"
        "INSERT INTO moz_places_metadata (place_id, created_at) VALUES (1, 5);");
    Sql(folder + "\\favicons.sqlite",
        "CREATE TABLE moz_icons (id INTEGER PRIMARY KEY, icon_url TEXT NOT NULL, fixed_icon_url_hash INTEGER NOT NULL,"
        " width INTEGER NOT NULL DEFAULT 0, root INTEGER NOT NULL DEFAULT 0, color INTEGER,"
        " expire_ms INTEGER NOT NULL DEFAULT 0, flags INTEGER NOT NULL DEFAULT 0, data BLOB);"
        "CREATE TABLE moz_pages_w_icons (id INTEGER PRIMARY KEY, page_url TEXT NOT NULL, page_url_hash INTEGER NOT NULL);"
        "CREATE TABLE moz_icons_to_pages (page_id INTEGER NOT NULL, icon_id INTEGER NOT NULL,"
        " expire_ms INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (page_id, icon_id)) WITHOUT ROWID;"
        "INSERT INTO moz_icons VALUES (1, 'http://kept-host-003.example/icon.png', 1, 16, 0, 0, 0, 0, x'4b4b'),"
        " (2, 'http://gone-host-001.example/" + tag + "-icon-secret.png', 2, 16, 0, 0, 0, 0, x'4747'),"
        " (3, 'http://kept-host-003.example/favicon.ico', 3, 16, 1, 0, 0, 0, x'4b'),"
        " (4, 'http://gone-host-002.example/favicon.ico', 4, 16, 1, 0, 0, 0, x'47');"
        "INSERT INTO moz_pages_w_icons VALUES (1, 'http://kept-host-003.example/kept-path-003', 1),"
        " (2, '" + p.places.removed.front() + "', 2);"
        "INSERT INTO moz_icons_to_pages VALUES (1, 1, 0), (2, 2, 0);");
    Sql(folder + "\\formhistory.sqlite", "CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, fieldname TEXT, "
                                         "value TEXT); INSERT INTO moz_formhistory VALUES (1, 'q', '" + tag +
                                             "-form-secret');");
    Sql(folder + "\\cookies.sqlite", "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, host TEXT, name TEXT, "
                                     "value TEXT); INSERT INTO moz_cookies VALUES (1, '.tracker.test', 'id', '" +
                                         tag + "-cookie-secret');");
    WriteTextFile(folder + "\\sessionstore.jsonlz4", "mozLz40\x01" + tag + "-session-secret");
    WriteTextFile(MakeFolder(folder + "\\sessionstore-backups") + "\\recovery.jsonlz4", tag + "-recovery-secret");
    WriteTextFile(folder + "\\logins.json", "{\"logins\":[{\"hostname\":\"" + tag + "-login-secret\"}]}");
    WriteTextFile(folder + "\\key4.db", "keeper: the keys of the certificates too");
    WriteTextFile(folder + "\\prefs.js", "user_pref(\"browser.download.dir\", \"C:\\\\" + tag +
                                             "-dir-secret\");\nuser_pref(\"browser.startup.page\", 3);\n");
    WriteTextFile(MakeFolder(folder + "\\storage\\default\\moz-extension+++0f1e2d3c\\idb") + "\\3647222921wleabcEoxlt-eengsairo.sqlite",
                  "keeper: an extension's own data");
    for (const char* cache : {"\\cache2\\entries", "\\startupCache", "\\thumbnails", "\\jumpListCache"})
        WriteTextFile(MakeFolder(local + cache) + "\\entry", tag + "-cache-secret");
    return p;
}

const char* const kSecrets[] = {"-download-secret", "-icon-secret", "-form-secret",  "-cookie-secret",
                                "-session-secret",  "-recovery-secret", "-login-secret", "-cache-secret",
                                "-dir-secret"};

struct FirefoxFamily : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    const std::string roaming = ShellFolderPath(CSIDL_APPDATA), local = ShellFolderPath(CSIDL_LOCAL_APPDATA);
    const std::string firefox = roaming + "\\Mozilla\\Firefox", firefoxLocal = local + "\\Mozilla\\Firefox";
    void SetUp() override { settings.ApplyDefaults(); }
    void SelectEverything() {
        settings.historyMask = settings.cacheMask = settings.cookiesMask = settings.passwordsMask =
            settings.downloadsMask = BrowserFirefox;
        settings.options.SetBool(OptionKeys::kFirefoxPage, OptionKeys::kSessions, true);
        settings.options.SetBool(OptionKeys::kFirefoxPage, OptionKeys::kFormData, true);
    }
};

} // namespace

TEST(AnotherProcess, DISABLED_HoldsAFile) { HeldByAnotherProcess::Serve(); }

TEST_F(FirefoxFamily, EveryProfileFirefoxKnowsIsCleanedAndTheKeepersKeepTheirBytes) {
    const std::string absolute = "C:\\zlt-ff\\Absolute Profile";
    WriteTextFile(MakeFolder(firefox) + "\\profiles.ini",
                  "[Install308046B0AF4A39CB]\r\nDefault=Profiles/rel.default-release\r\nLocked=1\r\n\r\n"
                  "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/rel.default-release\r\n\r\n"
                  "[Profile1]\r\nName=work\r\nIsRelative=0\r\nPath=" + absolute + "\r\n\r\n"
                  "[Profile2]\r\nName=linked\r\nIsRelative=1\r\nPath=Profiles/linked\r\n\r\n"
                  "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
    WriteTextFile(firefox + "\\installs.ini", "[308046B0AF4A39CB]\r\nDefault=Profiles/rel.default-release\r\n");
    std::vector<Profile> profiles = {
        MakeProfile(firefox + "\\Profiles\\rel.default-release", firefoxLocal + "\\Profiles\\rel.default-release", "REL"),
        MakeProfile(absolute, absolute, "ABS"),
        MakeProfile(firefox + "\\Profiles\\listed.only", firefoxLocal + "\\Profiles\\listed.only", "LISTED"),
        MakeProfile(roaming + "\\librewolf\\Profiles\\lw.default", local + "\\librewolf\\Profiles\\lw.default", "WOLF"),
        MakeProfile(local + "\\Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Roaming\\Mozilla\\Firefox\\Profiles\\st.default",
                    local + "\\Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Local\\Mozilla\\Firefox\\Profiles\\st.default",
                    "STORE"),
    };
    // The profile behind the link (made by the setup script) is somebody else's folder.
    const std::string linkedTarget = "C:\\zlt-ff-elsewhere\\linked";
    MakeProfile(linkedTarget, linkedTarget + "-local", "LINKED");
    std::map<std::string, std::string> linkedBefore;
    FilesBelow(linkedTarget, linkedBefore);
    ASSERT_TRUE(PathExists(firefox + "\\Profiles\\linked\\places.sqlite")) << "the setup script made no link";

    SelectEverything();
    RunRecord record;
    {
        const RecordingScope scope(cleaner, record, false, "page");
        ClearSelectedBrowserItems(cleaner, settings);
    }

    for (const Profile& p : profiles) {
        SCOPED_TRACE(p.folder);
        for (const char* secret : kSecrets)
            for (const char* tag : {"REL", "ABS", "LISTED", "WOLF", "STORE"})
                EXPECT_EQ(ReadableIn({p.folder, p.local}, std::string(tag) + secret), "");
        for (const std::string& url : p.places.removed) EXPECT_EQ(ReadableIn({p.folder}, url), "");
        // Keepers: the bookmarks, key4.db, the extension's data, the preferences no option names.
        EXPECT_EQ(Scalar(p.folder + "\\places.sqlite", "SELECT count(*) FROM moz_bookmarks"),
                  std::to_string(p.places.bookmarks));
        EXPECT_EQ(Scalar(p.folder + "\\places.sqlite", "PRAGMA integrity_check"), "ok");
        EXPECT_EQ(Scalar(p.folder + "\\favicons.sqlite", "SELECT group_concat(id) FROM moz_icons"), "1,3");
        EXPECT_NE(ReadableIn({p.folder}, "keeper: the keys of the certificates too"), "");
        EXPECT_TRUE(PathExists(p.folder + "\\storage\\default\\moz-extension+++0f1e2d3c\\idb\\3647222921wleabcEoxlt-eengsairo.sqlite"));
        EXPECT_NE(ReadableIn({p.folder}, "browser.startup.page\", 3"), "");
        EXPECT_FALSE(PathExists(p.folder + "\\logins.json"));
        EXPECT_FALSE(PathExists(p.folder + "\\sessionstore.jsonlz4"));
    }
    std::map<std::string, std::string> linkedAfter;
    FilesBelow(linkedTarget, linkedAfter);
    EXPECT_TRUE(linkedAfter == linkedBefore) << "a profile reached through a link was touched";
    // The record names the browser and the profile of what it removed.
    bool sawWolf = false;
    for (const RecordItem& item : record.items)
        if (item.group == "LibreWolf" && item.profile == "lw.default") sawWolf = true;
    EXPECT_TRUE(sawWolf);
}

TEST_F(FirefoxFamily, AProfileInUseKeepsItsDatabasesAndSessionsButLosesItsCache) {
    const Profile p = MakeProfile(firefox + "\\Profiles\\busy.default", firefoxLocal + "\\Profiles\\busy.default", "BUSY");
    WriteTextFile(p.folder + "\\parent.lock", "");
    const std::vector<uint8_t> placesBefore = ReadFileBytes(p.folder + "\\places.sqlite");
    SelectEverything();
    RunRecord record;
    {
        HeldByAnotherProcess firefoxRunning(p.folder + "\\parent.lock");
        ASSERT_TRUE(firefoxRunning.holding());
        const RecordingScope scope(cleaner, record, false, "page");
        CallCleaner(cleaner, &HistoryCleaner::ClearFirefoxSessions);
        CallCleaner(cleaner, &HistoryCleaner::ClearFirefoxCache);
        bool holderNamed = false;
        for (const RecordItem& item : record.items)
            if (item.action == ItemAction::Left && item.holder == ThisProgramName() &&
                item.holderPid == firefoxRunning.pid())
                holderNamed = true;
        EXPECT_TRUE(holderNamed);
    }
    EXPECT_TRUE(ReadFileBytes(p.folder + "\\places.sqlite") == placesBefore);
    EXPECT_TRUE(PathExists(p.folder + "\\sessionstore.jsonlz4"));
    EXPECT_EQ(ReadableIn({p.local}, "BUSY-cache-secret"), "");
}

TEST_F(FirefoxFamily, DownloadsAloneTakeTheDownloadsAndKeepTheRestOfTheHistory) {
    const Profile p = MakeProfile(firefox + "\\Profiles\\dl.default", firefoxLocal + "\\Profiles\\dl.default", "DL");
    settings.downloadsMask = BrowserFirefox;
    ClearSelectedBrowserItems(cleaner, settings);
    EXPECT_EQ(ReadableIn({p.folder}, "DL-download-secret"), "");
    EXPECT_EQ(Scalar(p.folder + "\\places.sqlite", "SELECT count(*) FROM moz_historyvisits"), "80");
    EXPECT_TRUE(PathExists(p.folder + "\\sessionstore.jsonlz4"));
}
