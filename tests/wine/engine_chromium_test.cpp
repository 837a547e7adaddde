// The Chromium family as it is found today: a Chrome "User Data" whose Local State lists Default
// and Profile 3 beside an unlisted Profile 7, the sign-in and guest profiles, an Edge root, today's
// Opera (its caches on the local side), a profile and a whole root reached through links. Every
// option on real-schema files with a marker in each removed row and file: nothing removed stays
// readable in any byte, no other option's traces go with it, every keeper keeps its bytes.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <sqlite3.h>

#include <functional>
#include <map>

#include "app/option_keys.h"
#include "engine/clearing_run.h"
#include "engine/recording.h"
#include "tests/native/cookie_schemas.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/places_fixture.h"

namespace {

// The tables as Chromium creates them (components/history, net/extras/sqlite,
// components/autofill, components/password_manager), less the indexes.
const char kHistorySchema[] = R"sql(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT, url LONGVARCHAR, title LONGVARCHAR,
  visit_count INTEGER DEFAULT 0 NOT NULL, typed_count INTEGER DEFAULT 0 NOT NULL,
  last_visit_time INTEGER NOT NULL, hidden INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE visits(id INTEGER PRIMARY KEY AUTOINCREMENT, url INTEGER NOT NULL, visit_time INTEGER NOT NULL,
  from_visit INTEGER, external_referrer_url TEXT, transition INTEGER DEFAULT 0 NOT NULL, segment_id INTEGER,
  visit_duration INTEGER DEFAULT 0 NOT NULL, incremented_omnibox_typed_score BOOLEAN DEFAULT FALSE NOT NULL,
  opener_visit INTEGER, originator_cache_guid TEXT, originator_visit_id INTEGER, originator_from_visit INTEGER,
  originator_opener_visit INTEGER, is_known_to_sync BOOLEAN DEFAULT FALSE NOT NULL,
  consider_for_ntp_most_visited BOOLEAN DEFAULT FALSE NOT NULL, visited_link_id INTEGER DEFAULT 0 NOT NULL,
  app_id TEXT);
CREATE TABLE visit_source(id INTEGER PRIMARY KEY, source INTEGER NOT NULL);
CREATE TABLE segments (id INTEGER PRIMARY KEY, name VARCHAR, url_id INTEGER NON NULL);
CREATE TABLE segment_usage (id INTEGER PRIMARY KEY, segment_id INTEGER NOT NULL, time_slot INTEGER NOT NULL,
  visit_count INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE keyword_search_terms (keyword_id INTEGER NOT NULL, url_id INTEGER NOT NULL,
  term LONGVARCHAR NOT NULL, normalized_term LONGVARCHAR NOT NULL);
CREATE TABLE downloads (id INTEGER PRIMARY KEY, guid VARCHAR NOT NULL, current_path LONGVARCHAR NOT NULL,
  target_path LONGVARCHAR NOT NULL, start_time INTEGER NOT NULL, received_bytes INTEGER NOT NULL,
  total_bytes INTEGER NOT NULL, state INTEGER NOT NULL, danger_type INTEGER NOT NULL,
  interrupt_reason INTEGER NOT NULL, hash BLOB NOT NULL, end_time INTEGER NOT NULL, opened INTEGER NOT NULL,
  last_access_time INTEGER NOT NULL, transient INTEGER NOT NULL, referrer VARCHAR NOT NULL,
  site_url VARCHAR NOT NULL, embedder_download_data VARCHAR NOT NULL, tab_url VARCHAR NOT NULL,
  tab_referrer_url VARCHAR NOT NULL, http_method VARCHAR NOT NULL, by_ext_id VARCHAR NOT NULL,
  by_ext_name VARCHAR NOT NULL, by_web_app_id VARCHAR NOT NULL, etag VARCHAR NOT NULL,
  last_modified VARCHAR NOT NULL, mime_type VARCHAR(255) NOT NULL, original_mime_type VARCHAR(255) NOT NULL);
CREATE TABLE downloads_url_chains (id INTEGER NOT NULL, chain_index INTEGER NOT NULL, url LONGVARCHAR NOT NULL,
  PRIMARY KEY (id, chain_index));
CREATE TABLE downloads_slices (download_id INTEGER NOT NULL, offset INTEGER NOT NULL,
  received_bytes INTEGER NOT NULL, finished INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (download_id, offset));
)sql";

const char kWebDataSchema[] = R"sql(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE autofill (name VARCHAR, value VARCHAR, value_lower VARCHAR, date_created INTEGER DEFAULT 0,
  date_last_used INTEGER DEFAULT 0, count INTEGER DEFAULT 1, PRIMARY KEY (name, value));
CREATE TABLE keywords (id INTEGER PRIMARY KEY, short_name VARCHAR NOT NULL, keyword VARCHAR NOT NULL,
  favicon_url VARCHAR NOT NULL, url VARCHAR NOT NULL, safe_for_autoreplace INTEGER, originating_url VARCHAR,
  date_created INTEGER DEFAULT 0, usage_count INTEGER DEFAULT 0, input_encodings VARCHAR, suggest_url VARCHAR,
  prepopulate_id INTEGER DEFAULT 0, created_by_policy INTEGER DEFAULT 0, last_modified INTEGER DEFAULT 0,
  sync_guid VARCHAR, alternate_urls VARCHAR, image_url VARCHAR, search_url_post_params VARCHAR,
  suggest_url_post_params VARCHAR, image_url_post_params VARCHAR, new_tab_url VARCHAR,
  last_visited INTEGER DEFAULT 0, created_from_play_api INTEGER DEFAULT 0, is_active INTEGER DEFAULT 0,
  starter_pack_id INTEGER DEFAULT 0, enforced_by_policy INTEGER DEFAULT 0, featured_by_policy INTEGER DEFAULT 0);
)sql";

const char kLoginsSchema[] = R"sql(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE logins (origin_url VARCHAR NOT NULL, action_url VARCHAR, username_element VARCHAR,
  username_value VARCHAR, password_element VARCHAR, password_value BLOB, submit_element VARCHAR,
  signon_realm VARCHAR NOT NULL, date_created INTEGER NOT NULL, blacklisted_by_user INTEGER NOT NULL,
  scheme INTEGER NOT NULL, password_type INTEGER, times_used INTEGER, form_data BLOB, display_name VARCHAR,
  icon_url VARCHAR, federation_url VARCHAR, skip_zero_click INTEGER, generation_upload_status INTEGER,
  possible_username_pairs BLOB, id INTEGER PRIMARY KEY AUTOINCREMENT, date_last_used INTEGER NOT NULL DEFAULT 0,
  moving_blocked_for BLOB, date_password_modified INTEGER NOT NULL DEFAULT 0,
  UNIQUE (origin_url, username_element, username_value, password_element, signon_realm));
)sql";

void Sql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "") << path;
    sqlite3_free(error);
    sqlite3_close(db);
}

std::string Scalar(const std::string& path, const std::string& query) {
    PlacesDb db(path);
    const std::vector<std::string> values = db.Column(query);
    return values.empty() ? "(none)" : values.front();
}

std::string Bytes(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// The options, each with the word its markers carry.
enum Option { History, Cache, Cookies, Passwords, Downloads, Sessions, FormData, kOptions };
const char* const kWord[kOptions] = {"-hist-secret", "-cache-secret", "-cookie-secret", "-login-secret",
                                     "-download-secret", "-session-secret", "-form-secret"};

const char kPreferences[] =
    R"({"browser":{"window_placement":{"left":10}},"net":{"http_server_properties":{"servers":[)"
    R"({"server":"https://TAG-hist-secret.example"}],"version":5}},"homepage":"https://keeper.example/"})";
const char kPreferencesAfterHistory[] =
    R"({"browser":{"window_placement":{"left":10}},"net":{},"homepage":"https://keeper.example/"})";

// A whole profile of today's layout, each removable trace marked with `tag` and its option's word.
// `cacheSide` is where the browser keeps its caches (Opera: the local side).
void MakeProfile(const std::string& folder, const std::string& cacheSide, const std::string& tag) {
    RemoveTree(folder);
    MakeFolder(folder);
    auto marked = [&](Option option, const std::string& what) { return tag + kWord[option] + "-" + what; };
    auto file = [&](const std::string& path, const std::string& text) {
        const size_t slash = path.find_last_of('\\');
        MakeFolder(path.substr(0, slash));
        WriteTextFile(path, text);
    };
    // History: the download list inside it belongs to the downloads option.
    Sql(folder + "\\History",
        std::string(kHistorySchema) + "INSERT INTO urls VALUES (1, 'https://" + marked(History, "url") + ".example/', '" +
            marked(History, "title") + "', 3, 1, 13300000000000000, 0);"
            "INSERT INTO visits (id, url, visit_time) VALUES (1, 1, 13300000000000000), (2, 1, 13300000000000001);"
            "INSERT INTO keyword_search_terms VALUES (2, 1, '" + marked(History, "term") + "', 'x');"
            "INSERT INTO downloads VALUES (1, 'guid', 'C:\\" + marked(Downloads, "current") + ".zip', 'C:\\" +
            marked(Downloads, "target") + ".zip', 1, 10, 10, 1, 0, 0, x'', 2, 0, 0, 0, '', '', '', 'https://" +
            marked(Downloads, "tab") + ".example/', '', 'GET', '', '', '', '', '', 'application/zip', '');"
            "INSERT INTO downloads_url_chains VALUES (1, 0, 'https://" + marked(Downloads, "chain") + ".example/f.zip');"
            "INSERT INTO downloads_slices VALUES (1, 0, 10, 1);");
    file(folder + "\\History-journal", marked(History, "journal"));
    for (const char* name : {"Archived History", "Top Sites", "Shortcuts", "Network Action Predictor"})
        Sql(folder + "\\" + name, "CREATE TABLE t (v TEXT); INSERT INTO t VALUES ('" + marked(History, name) + "');");
    for (const char* name : {"Visited Links", "Current Session", "Last Session", "Current Tabs", "Last Tabs",
                             "History Index 2024-01", "Shortcuts-journal"})
        file(folder + "\\" + name, marked(History, name));
    WriteTextFile(folder + "\\Preferences", std::string(kPreferences).replace(std::string(kPreferences).find("TAG"), 3, tag));
    // The cache, and the files older versions kept that the cache option still takes.
    Sql(folder + "\\Favicons", "CREATE TABLE favicons (id INTEGER PRIMARY KEY, url LONGVARCHAR NOT NULL);"
                                "INSERT INTO favicons VALUES (1, 'https://" + marked(History, "icon") + ".example/');");
    for (const char* cache : {"\\Cache\\Cache_Data\\data_1", "\\Cache\\Cache_Data\\f_00000a", "\\Code Cache\\js\\index",
                              "\\GPUCache\\data_0", "\\Media Cache\\index", "\\DawnWebGPUCache\\data_0",
                              "\\DawnGraphiteCache\\data_0"})
        file(cacheSide + cache, marked(Cache, cache + 1));
    // Cookies and the web sites' storage; the extensions' stays.
    Sql(MakeFolder(folder + "\\Network") + "\\Cookies",
        std::string(kChromiumCookiesSchema) + "INSERT INTO cookies VALUES (1, '.tracker.example', '', 'id', '" +
            marked(Cookies, "value") + "', x'', '/', 2, 1, 1, 1, 1, 1, 1, 0, 2, 443, 1, 0, 0);");
    file(folder + "\\Network\\Cookies-journal", marked(Cookies, "journal"));
    file(folder + "\\IndexedDB\\https_" + marked(Cookies, "idb") + ".example_0.indexeddb.leveldb\\000003.log", "x");
    file(folder + "\\IndexedDB\\https_site.example_0.indexeddb.blob\\1\\00\\1", marked(Cookies, "blob"));
    file(folder + "\\databases\\https_" + marked(Cookies, "websql") + ".example_0\\1", "x");
    Sql(folder + "\\databases\\Databases.db",
        "CREATE TABLE Databases (id INTEGER PRIMARY KEY AUTOINCREMENT, origin TEXT NOT NULL, name TEXT NOT NULL,"
        " description TEXT NOT NULL, estimated_size INTEGER NOT NULL);"
        "INSERT INTO Databases VALUES (1, 'https_" + marked(Cookies, "dbindex") + ".example_0', 'd', 'd', 1),"
        " (2, 'chrome-extension_keeperextension_0', 'keeper-websql', 'd', 1);");
    file(folder + "\\File System\\Origins\\000003.log", "ORIGIN:https_" + marked(Cookies, "fs-origin") + ".example_0");
    file(folder + "\\File System\\000\\p\\00\\00000000", marked(Cookies, "fs-file"));
    // Passwords, sessions, form data.
    Sql(folder + "\\Login Data", std::string(kLoginsSchema) + "INSERT INTO logins (origin_url, username_value, "
                                 "signon_realm, date_created, blacklisted_by_user, scheme) VALUES ('https://" +
                                     marked(Passwords, "origin") + ".example/', 'me', 'x', 1, 0, 0);");
    file(folder + "\\Login Data-journal", marked(Passwords, "journal"));
    Sql(folder + "\\Login Data For Account", std::string(kLoginsSchema) + "INSERT INTO logins (origin_url, "
                                             "signon_realm, date_created, blacklisted_by_user, scheme) VALUES ('" +
                                                 marked(Passwords, "account") + "', 'x', 1, 0, 0);");
    file(folder + "\\Sessions\\Session_13300000000000000", marked(Sessions, "session"));
    file(folder + "\\Sessions\\Tabs_13300000000000000", marked(Sessions, "tabs"));
    file(folder + "\\Sessions_Encrypted\\Session_13300000000000001", marked(Sessions, "encrypted"));
    Sql(folder + "\\Web Data",
        std::string(kWebDataSchema) + "INSERT INTO autofill VALUES ('q', '" + marked(FormData, "typed") + "', 'x', 1, 2, 3);"
            "INSERT INTO keywords (id, short_name, keyword, favicon_url, url) VALUES (2, 'keeper-engine', 'k', '',"
            " 'https://keeper-search.example/?q={searchTerms}');");
    // Keepers: no option names them.
    file(folder + "\\Bookmarks", R"({"roots":{"bookmark_bar":{"children":[{"url":"https://keeper-bookmark.example/"}]}}})");
    file(folder + "\\Extension Cookies", "keeper: an extension's cookies");
    file(folder + "\\Local Extension Settings\\keeperextension\\000003.log", "keeper: an extension's settings");
    file(folder + "\\Local Storage\\leveldb\\000003.log", "keeper: every origin's local storage");
    file(folder + "\\IndexedDB\\chrome-extension_keeperextension_0.indexeddb.leveldb\\000003.log", "keeper: extension");
    file(folder + "\\databases\\chrome-extension_keeperextension_0\\1", "keeper: an extension's database");
    file(folder + "\\Service Worker\\Database\\000003.log", "keeper: workers of sites and extensions");
}

// The files no option may change, by their paths below a profile.
const char* const kKeepers[] = {"Bookmarks",
                                "Extension Cookies",
                                "Local Extension Settings\\keeperextension\\000003.log",
                                "Local Storage\\leveldb\\000003.log",
                                "IndexedDB\\chrome-extension_keeperextension_0.indexeddb.leveldb\\000003.log",
                                "databases\\chrome-extension_keeperextension_0\\1",
                                "Service Worker\\Database\\000003.log"};

struct Chromium : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    const std::string local = ShellFolderPath(CSIDL_LOCAL_APPDATA), roaming = ShellFolderPath(CSIDL_APPDATA);
    const std::string chrome = local + "\\Google\\Chrome\\User Data";
    const std::string edge = local + "\\Microsoft\\Edge\\User Data";
    const std::string opera = roaming + "\\Opera Software\\Opera Stable";
    const std::string operaCache = local + "\\Opera Software\\Opera Stable";
    // Every profile with the folder its caches are in, and its tag.
    struct Made {
        std::string folder, cache, tag;
    };
    std::vector<Made> profiles;

    void SetUp() override { settings.ApplyDefaults(); }
    // What a test made; the links the setup script made stay, and so do the folders they lead to.
    void TearDown() override {
        for (const char* made : {"\\Default", "\\Profile 3", "\\Profile 7", "\\System Profile", "\\Guest Profile",
                                 "\\GrShaderCache", "\\ShaderCache", "\\Local State"})
            RemoveTree(chrome + made);
        for (const std::string& tree : {local + "\\Microsoft\\Edge", opera, operaCache}) RemoveTree(tree);
    }
    void MakeAll() {
        WriteTextFile(MakeFolder(chrome) + "\\Local State",
                      R"({"profile":{"info_cache":{"Default":{"name":"Person 1"},"Profile 3":{"name":"Work"},)"
                      R"("Profile 9":{"name":"Linked"},"System Profile":{"name":"System"}},"last_used":"Default"}})");
        WriteTextFile(MakeFolder(edge) + "\\Local State", R"({"profile":{"info_cache":{"Default":{"name":"Edge me"}}}})");
        profiles = {{chrome + "\\Default", chrome + "\\Default", "CHDEF"},
                    {chrome + "\\Profile 3", chrome + "\\Profile 3", "CHP3"},
                    {chrome + "\\Profile 7", chrome + "\\Profile 7", "CHP7"},
                    {edge + "\\Default", edge + "\\Default", "EDGE"},
                    {opera, operaCache, "OPERA"}};
        for (const Made& p : profiles) MakeProfile(p.folder, p.cache, p.tag);
        for (const char* root : {"\\GrShaderCache\\data_0", "\\ShaderCache\\data_0"}) {
            WriteTextFile(MakeFolder(chrome + std::string(root).substr(0, std::string(root).rfind('\\'))) + "\\data_0",
                          std::string("CHROOT-cache-secret") + root);
        }
        // Not the user's own: the sign-in screen's and the guest's profile.
        for (const char* other : {"\\System Profile", "\\Guest Profile"}) {
            WriteTextFile(MakeFolder(chrome + other) + "\\Preferences", "{}");
            WriteTextFile(chrome + other + "\\History", "keeper: not a user's profile");
        }
    }
    void Select(Option option, bool on = true) {
        uint32_t ProgramSettings::*masks[] = {&ProgramSettings::historyMask, &ProgramSettings::cacheMask,
                                              &ProgramSettings::cookiesMask, &ProgramSettings::passwordsMask};
        const char* keys[] = {OptionKeys::kHistory,   OptionKeys::kCache,    OptionKeys::kCookies, OptionKeys::kPasswords,
                              OptionKeys::kDownloads, OptionKeys::kSessions, OptionKeys::kFormData};
        if (option < Downloads) {
            uint32_t& mask = settings.*masks[option];
            mask = on ? mask | BrowserChrome : mask & ~BrowserChrome;
        } else if (option != Downloads) {
            settings.options.SetBool(OptionKeys::kChromePage, keys[option], on);
        }
        for (const char* page : {OptionKeys::kEdgePage, OptionKeys::kOperaPage}) settings.options.SetBool(page, keys[option], on);
    }
    std::vector<std::string> Everywhere() const {
        std::vector<std::string> folders;
        for (const Made& p : profiles) folders.insert(folders.end(), {p.folder, p.cache});
        folders.push_back(chrome);
        return folders;
    }
};

} // namespace

TEST(AnotherProcess, DISABLED_HoldsAFile) { HeldByAnotherProcess::Serve(); }

TEST_F(Chromium, ProfilesAreThoseLocalStateListsAndThoseWithPreferencesNeverLinkedOnesOrTheSystemsOwn) {
    MakeAll();
    ASSERT_TRUE(PathExists(chrome + "\\Profile 9")) << "the setup script made no link";
    MakeProfile("C:\\zlt-chromium-elsewhere\\VivaldiData\\Default", "C:\\zlt-chromium-elsewhere\\VivaldiData\\Default", "VIV");
    std::vector<std::string> seen;
    for (const auto& p : cleaner.FindChromiumProfiles(BrowserChrome | BrowserEdge | BrowserVivaldi | BrowserOperaToday))
        seen.push_back(p.browser + "|" + p.name + "|" + p.folder + "|" + p.cache);
    const std::vector<std::string> expected = {
        "Google Chrome|Person 1|" + chrome + "\\Default|" + chrome + "\\Default",
        "Google Chrome|Work|" + chrome + "\\Profile 3|" + chrome + "\\Profile 3",
        "Google Chrome|Profile 7|" + chrome + "\\Profile 7|" + chrome + "\\Profile 7",
        "Microsoft Edge|Edge me|" + edge + "\\Default|" + edge + "\\Default",
        "Opera|Opera|" + opera + "|" + operaCache,
    };
    EXPECT_EQ(seen, expected);
    // Each page finds its own browsers only.
    ASSERT_EQ(cleaner.FindChromiumProfiles(BrowserEdge).size(), 1u);
    EXPECT_TRUE(cleaner.FindChromiumProfiles(BrowserBrave).empty());
}

TEST_F(Chromium, BetaNightlyAndSnapshotChannelsAreFoundOnTheirBrowsersPage) {
    const std::string brave = local + "\\BraveSoftware", vivaldi = local + "\\Vivaldi Snapshot";
    const std::string operaBeta = roaming + "\\Opera Software\\Opera Beta";
    const std::string operaDeveloper = roaming + "\\Opera Software\\Opera Developer";
    for (const std::string& profile : {brave + "\\Brave-Browser-Beta\\User Data\\Default",
                                       brave + "\\Brave-Browser-Nightly\\User Data\\Profile 1",
                                       vivaldi + "\\User Data\\Default", operaBeta, operaDeveloper})
        WriteTextFile(MakeFolder(profile) + "\\Preferences", "{}");
    auto names = [&](uint32_t page) {
        std::vector<std::string> seen;
        for (const auto& p : cleaner.FindChromiumProfiles(page)) seen.push_back(p.browser + "|" + p.name + "|" + p.cache);
        return seen;
    };
    EXPECT_EQ(names(BrowserBrave),
              (std::vector<std::string>{"Brave Beta|Default|" + brave + "\\Brave-Browser-Beta\\User Data\\Default",
                                        "Brave Nightly|Profile 1|" + brave + "\\Brave-Browser-Nightly\\User Data\\Profile 1"}));
    EXPECT_EQ(names(BrowserVivaldi),
              (std::vector<std::string>{"Vivaldi Snapshot|Default|" + vivaldi + "\\User Data\\Default"}));
    // Opera keeps its caches at the same path below the local data.
    EXPECT_EQ(names(BrowserOperaToday),
              (std::vector<std::string>{"Opera Beta|Opera Beta|" + local + "\\Opera Software\\Opera Beta",
                                        "Opera Developer|Opera Developer|" + local + "\\Opera Software\\Opera Developer"}));
    EXPECT_TRUE(names(BrowserChrome | BrowserEdge).empty());
    for (const std::string& tree : {brave, vivaldi, operaBeta, operaDeveloper}) RemoveTree(tree);
}

TEST_F(Chromium, EachOptionTakesItsTracesFromEveryProfileToTheLastByteAndNothingElse) {
    MakeAll();
    std::map<std::string, std::string> keepers, linkedBefore;
    for (const Made& p : profiles)
        for (const char* keeper : kKeepers) keepers[p.folder + "\\" + keeper] = Bytes(p.folder + "\\" + keeper);
    for (const char* root : {"\\Local State", "\\System Profile\\History", "\\Guest Profile\\History"})
        keepers[chrome + root] = Bytes(chrome + root);
    MakeProfile("C:\\zlt-chromium-elsewhere\\Profile 9", "C:\\zlt-chromium-elsewhere\\Profile 9", "LINKED");
    FilesBelow("C:\\zlt-chromium-elsewhere", linkedBefore);

    RunRecord record;
    const RecordingScope scope(cleaner, record, false, "page");
    // Downloads first: with the history chosen too, the whole History file goes anyway.
    for (Option option : {Downloads, Sessions, FormData, Passwords, Cookies, Cache, History}) {
        SCOPED_TRACE(kWord[option]);
        Select(option);
        ClearSelectedBrowserItems(cleaner, settings);
        Select(option, false);
        // Chrome's download list has no box of its own: it goes with the history.
        EXPECT_EQ(ReadableIn(option == Downloads ? std::vector<std::string>{edge, opera} : Everywhere(), kWord[option]), "");
        for (const auto& [path, bytes] : keepers) EXPECT_TRUE(Bytes(path) == bytes) << path;
        if (option == Downloads)
            for (const Made& p : {profiles[3], profiles[4]}) {
                EXPECT_EQ(Scalar(p.folder + "\\History", "SELECT count(*) FROM downloads"), "0");
                EXPECT_EQ(Scalar(p.folder + "\\History", "SELECT count(*) FROM visits"), "2");
                EXPECT_EQ(Scalar(p.folder + "\\History", "PRAGMA integrity_check"), "ok");
                EXPECT_NE(ReadableIn({p.folder}, p.tag + "-hist-secret-title"), "");
            }
        if (option == FormData)
            for (const Made& p : profiles) {
                EXPECT_EQ(Scalar(p.folder + "\\Web Data", "SELECT short_name FROM keywords"), "keeper-engine");
                EXPECT_EQ(Scalar(p.folder + "\\Web Data", "SELECT count(*) FROM autofill"), "0");
            }
        if (option == Cookies)
            for (const Made& p : profiles) {
                EXPECT_EQ(Scalar(p.folder + "\\databases\\Databases.db", "SELECT group_concat(name) FROM Databases"),
                          "keeper-websql");
                EXPECT_TRUE(PathExists(p.folder + "\\File System"));
            }
        if (option == Cache) {
            for (const Made& p : profiles) EXPECT_TRUE(PathExists(p.cache + "\\Cache\\Cache_Data"));
            EXPECT_NE(ReadableIn({chrome}, "-hist-secret"), ""); // the history is the history option's
        }
    }
    for (const char* word : kWord) EXPECT_EQ(ReadableIn(Everywhere(), word), "");
    for (const Made& p : profiles) {
        EXPECT_EQ(Bytes(p.folder + "\\Preferences"),
                  std::string(kPreferencesAfterHistory)) << p.folder;
        EXPECT_FALSE(PathExists(p.folder + "\\History"));
        EXPECT_TRUE(PathExists(p.folder + "\\Web Data"));
    }
    std::map<std::string, std::string> linkedAfter;
    FilesBelow("C:\\zlt-chromium-elsewhere", linkedAfter);
    EXPECT_TRUE(linkedAfter == linkedBefore) << "a profile or root reached through a link was touched";
    // The record names each browser and profile by the names the browser shows.
    std::map<std::string, int> byProfile;
    for (const RecordItem& item : record.items)
        if (item.action == ItemAction::Removed) ++byProfile[item.group + "|" + item.profile];
    for (const char* profile : {"Google Chrome|Person 1", "Google Chrome|Work", "Google Chrome|Profile 7",
                                "Microsoft Edge|Edge me", "Opera|Opera"})
        EXPECT_GT(byProfile[profile], 0) << profile;
}

TEST_F(Chromium, CookiesHeldByTheRunningBrowserStayWholeTheCacheGoesAndTheHolderIsNamed) {
    MakeAll();
    const std::string cookies = chrome + "\\Default\\Network\\Cookies";
    const std::string before = Bytes(cookies);
    Select(Cookies);
    Select(Cache);
    RunRecord record;
    {
        HeldByAnotherProcess browser(cookies);
        ASSERT_TRUE(browser.holding());
        const RecordingScope scope(cleaner, record, false, "page");
        ClearSelectedBrowserItems(cleaner, settings);
        bool holderNamed = false;
        for (const RecordItem& item : record.items)
            if (item.action == ItemAction::Left && item.path == cookies && item.holder == ThisProgramName() &&
                item.holderPid == browser.pid())
                holderNamed = true;
        EXPECT_TRUE(holderNamed);
    }
    EXPECT_TRUE(Bytes(cookies) == before);
    EXPECT_TRUE(PathExists(cookies + "-journal")); // it may hold the running browser's last writes
    EXPECT_EQ(ReadableIn({chrome + "\\Default"}, "-cache-secret"), "");
    EXPECT_EQ(ReadableIn({chrome + "\\Profile 3"}, "-cookie-secret"), "");
}

TEST_F(Chromium, AnExtensionsFileSystemAndTheOldCacheFolderAreHandledAsTheyAre) {
    // An older profile: the cache's files directly in "Cache", "Cookies" beside History; and a
    // File System whose origins include an extension, which therefore stays.
    const std::string profile = MakeFolder(chrome + "\\Default");
    WriteTextFile(profile + "\\Preferences", "{}");
    WriteTextFile(MakeFolder(profile + "\\Cache") + "\\data_1", "OLD-cache-secret");
    WriteTextFile(profile + "\\Cookies", "OLD-cookie-secret");
    WriteTextFile(MakeFolder(profile + "\\File System\\Origins") + "\\000003.log",
                  "ORIGIN:https_site.example_0 ORIGIN:chrome-extension_abcdef_0");
    WriteTextFile(MakeFolder(profile + "\\File System\\001\\p") + "\\00000000", "keeper: the extension's file");
    settings.cacheMask = settings.cookiesMask = BrowserChrome;
    RunRecord record;
    {
        const RecordingScope scope(cleaner, record, false, "page");
        ClearSelectedBrowserItems(cleaner, settings);
    }
    EXPECT_TRUE(PathExists(profile + "\\Cache"));
    EXPECT_EQ(ReadableIn({profile}, "OLD-"), "");
    EXPECT_TRUE(PathExists(profile + "\\File System\\001\\p\\00000000"));
    bool said = false;
    for (const RecordItem& item : record.items)
        said = said || (item.action == ItemAction::Left && item.path == profile + "\\File System");
    EXPECT_TRUE(said);
}
