// Sites to keep, in every cookie store the program cleans: a Chromium profile (Network\Cookies in
// today's schema with a write-ahead log its browser left, IndexedDB and Web SQL folders), a Firefox
// profile (cookies.sqlite, storage of sites and extensions), Internet Explorer's cookie files and
// Safari's cookie folder. Each holds cookies of example.com, a.example.com, tracker.test, the device
// 192.168.1.10:8080 and lookalikes; example.com and the device are kept. Afterwards only the kept
// ones remain, nothing of the others is readable in any byte, and the kept sites' storage keeps its
// bytes. With a list that cannot be read, every store keeps every byte and the record says why.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <sqlite3.h>

#include <algorithm>
#include <map>

#include "app/option_keys.h"
#include "engine/clearing_run.h"
#include "engine/recording.h"
#include "tests/native/cookie_schemas.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/places_fixture.h"

// windows.h renames DeleteFile, which leveldb's Env declares as a function of its own.
#undef DeleteFile
#include <leveldb/db.h>

namespace {

// Hosts as each browser writes them, and whether they stay. Removed ones carry "GONE" in their
// value; the kept ones "KEPT".
struct Cookie {
    const char* host;
    bool kept;
};
const Cookie kCookies[] = {{".example.com", true},         {"a.example.com", true},  {"192.168.1.10", true},
                           {"tracker.test", false},        {".tracker.test", false}, {".notexample.com", false},
                           {"example.com.evil.test", false}};

void Sql(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
}

std::vector<std::string> Sorted(std::vector<std::string> values) {
    std::sort(values.begin(), values.end());
    return values;
}

std::vector<std::string> KeptHosts() {
    std::vector<std::string> hosts;
    for (const Cookie& c : kCookies)
        if (c.kept) hosts.push_back(c.host);
    return Sorted(hosts);
}

std::string Value(const Cookie& c, const char* store) {
    return std::string(c.kept ? "KEPT-" : "GONE-") + store + "-" + c.host;
}

// Chromium's cookies, the removed ones only in the write-ahead log the browser left at its exit:
// the log is what must not keep them.
void MakeChromiumCookies(const std::string& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    Sql(db, kChromiumCookiesSchema);
    Sql(db, "PRAGMA journal_mode=WAL");
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    Sql(db, "PRAGMA wal_autocheckpoint=0");
    int n = 0;
    for (const Cookie& c : kCookies)
        Sql(db, "INSERT INTO cookies VALUES (1, '" + std::string(c.host) + "', '', 'n" + std::to_string(n++) + "', '" +
                    Value(c, "chromium") + "', x'', '/', 0, 1, 1, 0, 1, 1, 1, 0, 2, " +
                    (std::string(c.host) == "192.168.1.10" ? "8080" : "443") + ", 0, 0, 0)");
    sqlite3_close(db);
}

void MakeFirefoxCookies(const std::string& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    Sql(db, kFirefoxCookiesSchema);
    for (const Cookie& c : kCookies)
        Sql(db, "INSERT INTO moz_cookies (name, value, host, path) VALUES ('n', '" + Value(c, "firefox") + "', '" +
                    c.host + "', '/')");
    sqlite3_close(db);
}

// An Internet Explorer cookie file of one site: one record of nine lines.
std::string IECookieFile(const Cookie& c) {
    std::string host = c.host;
    if (host[0] == '.') host.erase(0, 1);
    return "id\n" + Value(c, "ie") + "\n" + host + "/\n1024\n3567587328\n31112875\n2351378048\n30973119\n*\n";
}

// Chromium's local storage of every origin, written by leveldb with its snappy compression: most
// of it compacted into a table, the last key only in the log.
const char* const kStorageOrigins[] = {"https://example.com",        "https://a.example.com", "http://192.168.1.10:8080",
                                       "chrome-extension://abcdefghijklmnop", "https://tracker.test",
                                       "https://notexample.com",     "http://192.168.1.10"};
bool KeptOrigin(const std::string& origin) {
    return origin.find("tracker") == std::string::npos && origin.find("notexample") == std::string::npos &&
           origin != "http://192.168.1.10";
}
std::string StorageValue(const std::string& origin) {
    return std::string(KeptOrigin(origin) ? "KEPT-ls-" : "GONE-ls-") + origin + std::string(200, 'v');
}

void MakeLocalStorage(const std::string& folder) {
    leveldb::Options options;
    options.create_if_missing = true;
    leveldb::DB* db = nullptr;
    ASSERT_TRUE(leveldb::DB::Open(options, folder, &db).ok());
    const leveldb::WriteOptions write;
    db->Put(write, "VERSION", "1");
    for (const std::string origin : kStorageOrigins) {
        db->Put(write, "META:" + origin, "meta");
        db->Put(write, "_" + origin + std::string("\0\x01", 2) + "theme", StorageValue(origin));
    }
    db->CompactRange(nullptr, nullptr);
    db->Put(write, std::string("_https://tracker.test\0\x01", 23) + "late", "GONE-ls-late");
    delete db;
}

std::vector<std::string> LocalStorageKeys(const std::string& folder) {
    leveldb::DB* db = nullptr;
    std::vector<std::string> keys;
    if (!leveldb::DB::Open(leveldb::Options(), folder, &db).ok()) return {"(no database)"};
    std::unique_ptr<leveldb::Iterator> it(db->NewIterator(leveldb::ReadOptions()));
    for (it->SeekToFirst(); it->Valid(); it->Next()) {
        std::string key = it->key().ToString();
        if (const size_t nul = key.find('\0'); nul != std::string::npos) key.resize(nul);
        keys.push_back(key);
    }
    it.reset();
    delete db;
    return keys;
}

std::vector<std::string> Column(const std::string& path, const std::string& query) {
    PlacesDb db(path);
    return db.Column(query);
}

struct KeepCookies : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    const std::string local = ShellFolderPath(CSIDL_LOCAL_APPDATA), roaming = ShellFolderPath(CSIDL_APPDATA);
    const std::string chromeRoot = local + "\\Google\\Chrome\\User Data";
    const std::string chrome = chromeRoot + "\\Default";
    const std::string firefox = roaming + "\\Mozilla\\Firefox\\Profiles\\keep.default";
    const std::string ie = ShellFolderPath(CSIDL_COOKIES) + "\\ZltKeep";
    const std::string safari = roaming + "\\Apple Computer\\Safari\\Cookies";
    const std::string localStorage = chrome + "\\Local Storage\\leveldb";
    // Site data folders, below the profile, that stay.
    const std::vector<std::string> keptStorage = {
        chrome + "\\IndexedDB\\https_example.com_0.indexeddb.leveldb",
        chrome + "\\IndexedDB\\https_a.example.com_0.indexeddb.blob",
        chrome + "\\IndexedDB\\http_192.168.1.10_8080.indexeddb.leveldb",
        chrome + "\\databases\\https_www.example.com_0",
        firefox + "\\storage\\default\\https+++example.com",
    };
    const std::vector<std::string> goneStorage = {
        chrome + "\\IndexedDB\\https_tracker.test_0.indexeddb.leveldb",
        chrome + "\\IndexedDB\\https_notexample.com_0.indexeddb.leveldb",
        chrome + "\\IndexedDB\\http_192.168.1.10_80.indexeddb.leveldb",
        chrome + "\\databases\\https_example.com.evil.test_0",
    };
    // What belongs to extensions: no cleaner ever takes it.
    const std::vector<std::string> extensions = {
        chrome + "\\IndexedDB\\chrome-extension_abcdefghijklmnop_0.indexeddb.leveldb",
        chrome + "\\Service Worker",
        chrome + "\\Local Extension Settings\\abcdefghijklmnop",
        chrome + "\\databases\\chrome-extension_abcdefghijklmnop_0",
        firefox + "\\storage\\default\\moz-extension+++0b3c5a2e-1f0e-4b7e-9d55-6b2f4c0e8a11^userContextId=4294967295",
    };

    void SetUp() override {
        settings.ApplyDefaults();
        Keep({"example.com", "192.168.1.10:8080"});
        WriteTextFile(MakeFolder(chrome) + "\\Preferences", "{}");
        MakeChromiumCookies(MakeFolder(chrome + "\\Network") + "\\Cookies");
        MakeFolder(chrome + "\\Local Storage");
        MakeLocalStorage(localStorage);
        MakeFirefoxCookies(MakeFolder(firefox) + "\\cookies.sqlite");
        MakeFolder(ie);
        int n = 0;
        for (const Cookie& c : kCookies) WriteTextFile(ie + "\\user@site" + std::to_string(n++) + "[1].txt", IECookieFile(c));
        WriteTextFile(MakeFolder(safari) + "\\Cookies.binarycookies", "GONE-safari-tracker.test");
        for (const std::string& folder : keptStorage) WriteTextFile(MakeFolder(folder) + "\\000003.log", "KEPT-storage");
        for (const std::string& folder : goneStorage) WriteTextFile(MakeFolder(folder) + "\\000003.log", "GONE-storage");
        for (const std::string& folder : extensions) WriteTextFile(MakeFolder(folder) + "\\000003.log", "KEPT-extension");
    }
    void TearDown() override {
        for (const std::string& tree : {chromeRoot, roaming + "\\Mozilla", ie, roaming + "\\Apple Computer"})
            RemoveTree(tree);
    }
    void Keep(const std::vector<std::string>& sites) {
        settings.options.SetAll(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepSite, sites);
    }
    void SelectCookies() {
        settings.cookiesMask = BrowserChrome | BrowserFirefox | BrowserIE | BrowserSafari | IEIndexDatContent;
    }
    std::vector<std::string> Stores() const { return {chrome, firefox, ie, safari}; }
    std::map<std::string, std::string> Snapshot(const std::vector<std::string>& folders) const {
        std::map<std::string, std::string> files;
        for (const std::string& folder : folders) FilesBelow(folder, files);
        return files;
    }
    RunRecord Clear(bool preview = false) {
        RunRecord record;
        const RecordingScope scope(cleaner, record, preview, "page");
        ClearSelectedBrowserItems(cleaner, settings);
        return record;
    }
};

} // namespace

TEST_F(KeepCookies, OnlyTheKeptSitesCookiesAndStorageRemainInEveryStore) {
    const auto keptBefore = Snapshot(keptStorage), extensionsBefore = Snapshot(extensions);
    const auto safariBefore = Snapshot({safari});
    // Readable before (in the table and in the log), so that its absence afterwards says something.
    ASSERT_NE(ReadableIn({localStorage}, "GONE-ls-"), "");
    ASSERT_NE(ReadableIn({localStorage}, "GONE-ls-late"), "");
    ASSERT_NE(ReadableIn({localStorage}, "tracker.test"), "");
    SelectCookies();
    const RunRecord record = Clear();

    EXPECT_EQ(Sorted(Column(chrome + "\\Network\\Cookies", "SELECT host_key FROM cookies")), KeptHosts());
    EXPECT_EQ(Column(chrome + "\\Network\\Cookies", "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    EXPECT_EQ(Sorted(Column(firefox + "\\cookies.sqlite", "SELECT host FROM moz_cookies")), KeptHosts());
    // The write-ahead log went into the database, and neither it nor a journal is left beside it.
    for (const char* sidecar : {"-wal", "-shm", "-journal"}) {
        EXPECT_FALSE(PathExists(chrome + "\\Network\\Cookies" + sidecar)) << sidecar;
        EXPECT_FALSE(PathExists(firefox + "\\cookies.sqlite" + sidecar)) << sidecar;
    }
    int n = 0;
    for (const Cookie& c : kCookies)
        EXPECT_EQ(PathExists(ie + "\\user@site" + std::to_string(n++) + "[1].txt"), c.kept) << c.host;
    // Not in any byte of any store: neither the removed cookies' values nor their hosts.
    for (const char* gone : {"GONE-", "tracker.test", "notexample", "evil.test"})
        EXPECT_EQ(ReadableIn({chrome, firefox, ie}, gone), "") << gone;
    for (const std::string& folder : goneStorage) EXPECT_FALSE(PathExists(folder)) << folder;
    EXPECT_TRUE(Snapshot(keptStorage) == keptBefore);
    // Local storage: the kept sites' and the extension's keys stay, in a database leveldb still opens.
    std::vector<std::string> keptKeys{"VERSION"};
    for (const std::string origin : kStorageOrigins)
        if (KeptOrigin(origin)) keptKeys.insert(keptKeys.end(), {"META:" + origin, "_" + origin});
    EXPECT_EQ(Sorted(LocalStorageKeys(localStorage)), Sorted(keptKeys));
    EXPECT_TRUE(Snapshot(extensions) == extensionsBefore);
    // Safari's cookies are one file of every site: kept whole while sites are kept, and said so.
    EXPECT_TRUE(Snapshot({safari}) == safariBefore);
    bool safariSaid = false, keptSitesRecorded = false;
    for (const RecordItem& item : record.items) {
        safariSaid = safariSaid || (item.path == safari && item.reason == LeftReason::KeptSites);
        for (const std::string& folder : keptStorage)
            keptSitesRecorded = keptSitesRecorded || item.path.rfind(folder, 0) == 0;
    }
    EXPECT_TRUE(safariSaid);
    EXPECT_FALSE(keptSitesRecorded) << "a kept site's storage is no item of the clearing";
}

TEST_F(KeepCookies, APreviewCountsTheRowsThatWouldGoAndChangesNoByte) {
    const auto before = Snapshot(Stores());
    SelectCookies();
    const RunRecord record = Clear(true);
    const auto after = Snapshot(Stores());
    EXPECT_TRUE(after == before);
    for (const auto& [path, bytes] : before) {
        const auto found = after.find(path);
        EXPECT_TRUE(found != after.end() && found->second == bytes) << path;
    }
    for (const auto& [path, bytes] : after) EXPECT_TRUE(before.count(path)) << "made: " << path;
    std::map<std::string, int64_t> rows;
    for (const RecordItem& item : record.items)
        if (item.kind == ItemKind::DatabaseTable) rows[item.path + "|" + item.detail] += item.rows;
    EXPECT_EQ(rows[chrome + "\\Network\\Cookies|cookies"], 4);
    EXPECT_EQ(rows[firefox + "\\cookies.sqlite|moz_cookies"], 4);
    // Three origins' keys, the tracker's late one among them.
    EXPECT_EQ(rows[localStorage + "|local storage"], 7);
}

TEST_F(KeepCookies, AListThatCannotBeReadLeavesEveryStoreWholeAndTheReportSaysWhy) {
    const auto before = Snapshot(Stores());
    SelectCookies();
    // A damaged load marks the list as lost; an entry that is no site makes the whole list unreadable.
    for (int damage = 0; damage < 2; ++damage) {
        SCOPED_TRACE(damage);
        if (damage == 0) {
            settings.options.Set(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepListDamaged, "1");
        } else {
            settings.options.SetAll(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepListDamaged, {});
            Keep({"example.com", "exa mple.com"});
        }
        const RunRecord record = Clear();
        EXPECT_TRUE(Snapshot(Stores()) == before);
        std::vector<std::string> said;
        for (const RecordItem& item : record.items)
            if (item.action == ItemAction::Left && item.reason == LeftReason::KeepListUnreadable) said.push_back(item.path);
        for (const std::string& store :
             {chrome + "\\Network\\Cookies", firefox + "\\cookies.sqlite", ShellFolderPath(CSIDL_COOKIES), safari})
            EXPECT_NE(std::find(said.begin(), said.end(), store), said.end()) << store;
        EXPECT_NE(ReportText(record).find("the list of cookies to keep cannot be read"), std::string::npos);
    }
}

TEST_F(KeepCookies, AnEmptyListRemovesTheCookieDatabasesWholeAsBeforeAndStillNoExtensionsData) {
    Keep({});
    const auto extensionsBefore = Snapshot(extensions);
    // Every option of every browser, not only the cookies.
    for (const SettingRef& option : RunOptions()) option.Write(settings, true);
    const RunRecord record = Clear();
    // The old database's files went through the program's removal, recorded as removed; no
    // folder of the change is left beside it.
    int leveldbFiles = 0;
    for (const RecordItem& item : record.items) {
        if (item.kind != ItemKind::File || item.path.rfind(localStorage, 0) != 0) continue;
        EXPECT_EQ(item.action, ItemAction::Removed) << item.path << " " << ReasonName(item.reason);
        ++leveldbFiles;
    }
    EXPECT_GT(leveldbFiles, 0);
    EXPECT_FALSE(PathExists(localStorage + ".zlt-old"));
    EXPECT_FALSE(PathExists(localStorage + ".zlt-new"));
    EXPECT_FALSE(PathExists(chrome + "\\Network\\Cookies"));
    EXPECT_FALSE(PathExists(firefox + "\\cookies.sqlite"));
    EXPECT_FALSE(PathExists(safari + "\\Cookies.binarycookies"));
    EXPECT_EQ(ReadableIn({chrome, firefox, ie}, "GONE-"), "");
    for (const std::string& folder : keptStorage)
        if (folder.find("IndexedDB") != std::string::npos) {
            EXPECT_FALSE(PathExists(folder)) << folder;
        }
    EXPECT_TRUE(Snapshot(extensions) == extensionsBefore);
    std::vector<std::string> extensionKeys{"VERSION", "META:chrome-extension://abcdefghijklmnop",
                                           "_chrome-extension://abcdefghijklmnop"};
    EXPECT_EQ(Sorted(LocalStorageKeys(localStorage)), Sorted(extensionKeys));
}

TEST_F(KeepCookies, LocalStorageHeldByTheRunningBrowserKeepsEveryByte) {
    const auto before = Snapshot({localStorage});
    SelectCookies();
    RunRecord record;
    {
        HeldFile lock(localStorage + "\\LOCK", 0);
        record = Clear();
    }
    EXPECT_TRUE(Snapshot({localStorage}) == before);
    bool held = false;
    for (const RecordItem& item : record.items)
        held = held || (item.path == localStorage + "\\LOCK" && item.reason == LeftReason::Held);
    EXPECT_TRUE(held);
}

// The machine went down between moving the old database aside and moving the new one in: the old
// one comes back and is cleaned; a half-written new one beside it goes.
TEST_F(KeepCookies, ALocalStorageCleaningCutShortIsTakenUpWhereItStopped) {
    ASSERT_TRUE(MoveFileA(localStorage.c_str(), (localStorage + ".zlt-old").c_str()));
    WriteTextFile(MakeFolder(localStorage + ".zlt-new") + "\\000003.log", "GONE-ls-half-written");
    SelectCookies();
    Clear();
    std::vector<std::string> keptKeys{"VERSION"};
    for (const std::string origin : kStorageOrigins)
        if (KeptOrigin(origin)) keptKeys.insert(keptKeys.end(), {"META:" + origin, "_" + origin});
    EXPECT_FALSE(PathExists(localStorage + ".zlt-old"));
    EXPECT_FALSE(PathExists(localStorage + ".zlt-new"));
    EXPECT_EQ(ReadableIn({chrome + "\\Local Storage"}, "GONE-ls"), "");
    EXPECT_EQ(Sorted(LocalStorageKeys(localStorage)), Sorted(keptKeys));
}

TEST(KeepListFile, ADamagedOptionsFileKeepsTheListLostAcrossStartsUntilTheListIsSavedAgain) {
    TempFolder folder;
    BoxRecorder boxes;
    const std::string path = folder / "options.ini";
    WriteTextFile(path, "[Cookies to keep]\r\nSite=example.com\r\nthis line is no option\r\n");
    ProgramSettings first;
    first.dataFolder = folder.path();
    EXPECT_FALSE(first.LoadOptions());
    EXPECT_FALSE(HistoryCleaner(&first).CookiesToKeep());
    // The program saves its options at exit; the next start finds a sound file without the list.
    ASSERT_TRUE(first.SaveOptions());
    ProgramSettings second;
    second.dataFolder = folder.path();
    EXPECT_TRUE(second.LoadOptions());
    EXPECT_FALSE(HistoryCleaner(&second).CookiesToKeep()) << "an empty list after a damage would keep nothing";
    // The user saves the list again.
    second.options.SetAll(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepSite, {"example.com"});
    second.options.SetAll(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepListDamaged, {});
    ASSERT_TRUE(second.SaveOptions());
    ProgramSettings third;
    third.dataFolder = folder.path();
    EXPECT_TRUE(third.LoadOptions());
    const std::optional<CookieKeepList> keep = HistoryCleaner(&third).CookiesToKeep();
    ASSERT_TRUE(keep);
    EXPECT_EQ(keep->Stored(), std::vector<std::string>{"example.com"});
}

TEST(KeepListFile, AnOptionsFileThatCannotBeReadIsNoListEither) {
    TempFolder folder;
    const std::string path = folder / "options.ini";
    WriteTextFile(path, "[Cookies to keep]\r\nSite=example.com\r\n");
    // Held without sharing by someone else: no reading it.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ProgramSettings settings;
    settings.dataFolder = folder.path();
    EXPECT_FALSE(settings.LoadOptions());
    EXPECT_FALSE(HistoryCleaner(&settings).CookiesToKeep());
    EXPECT_FALSE(settings.SaveOptions()); // never written over
    CloseHandle(held);
}
