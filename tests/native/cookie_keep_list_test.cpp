// The sites to keep: what an entry may be, which hosts and origins it keeps, and the statements
// run on cookie databases in the browsers' own schemas (net/extras/sqlite, netwerk/cookie), where
// the rows that stay are read back. The same statements run through the whole database recipe in
// tests/wine/engine_cookies_keep_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/cleaners/cookie_stores.h"
#include "engine/cookie_keep_list.h"
#include "tests/native/cookie_schemas.h"
#include "tests/native/sqlite_test_db.h"

namespace {

// Hosts as the browsers write them, with whether `example.com` and `192.168.1.10:8080` keep them.
const std::pair<const char*, bool> kHosts[] = {
    {"example.com", true},      {".example.com", true},         {"a.example.com", true},
    {".deep.a.example.com", true}, {"EXAMPLE.com", true},       {"192.168.1.10", true},
    {"notexample.com", false},  {".notexample.com", false},     {"example.com.evil.test", false},
    {"tracker.test", false},    {".tracker.test", false},       {"xample.com", false},
    {"192.168.1.100", false},   {"10.192.168.1.10", false},     {"com", false},
    {"", false},
};

CookieKeepList ExampleAndDevice() {
    std::optional<CookieKeepList> list = CookieKeepList::FromStored({"example.com", "192.168.1.10:8080"});
    EXPECT_TRUE(list);
    return list.value_or(CookieKeepList{});
}

std::vector<std::string> Sorted(std::vector<std::string> values) {
    std::sort(values.begin(), values.end());
    return values;
}

} // namespace

TEST(KeepEntries, WhatPeopleTypeIsNormalisedToOneForm) {
    const std::pair<const char*, const char*> accepted[] = {
        {"example.com", "example.com"},
        {"  Example.COM \r\n", "example.com"},
        {".example.com", "example.com"},
        {"example.com.", "example.com"},
        {"https://www.Example.com/login?x=1", "www.example.com"},
        {"http://192.168.1.10:8080/", "192.168.1.10:8080"},
        {"example.com/", "example.com"},
        {"192.168.1.10", "192.168.1.10"},
        {"router:8443", "router:8443"},
        {"my-nas_box.lan", "my-nas_box.lan"},
        {"localhost", "localhost"},
    };
    for (const auto& [typed, stored] : accepted) {
        const std::optional<KeepEntry> entry = ParseKeepEntry(typed);
        ASSERT_TRUE(entry) << typed;
        EXPECT_EQ(entry->Text(), stored) << typed;
        EXPECT_EQ(ParseKeepEntry(entry->Text()), entry) << "not stable: " << typed;
    }
    EXPECT_TRUE(ParseKeepEntry("192.168.1.10")->address);
    EXPECT_FALSE(ParseKeepEntry("example.com")->address);
    EXPECT_EQ(ParseKeepEntry("192.168.1.10:8080")->port, 8080);
}

TEST(KeepEntries, JunkAndAnythingThatCouldEscapeAnSqlStringIsRefused) {
    for (const char* junk : {"", "   ", ".", "..example.com", "a..b", "*.example.com", "exa mple.com", "example.com/path",
                             "example.com:0", "example.com:65536", "example.com:80:80", "example.com:", "example.com:x",
                             "1.2.3", "300.1.1.1", "01.2.3.4", "1.2.3.4.5", "[::1]", "user@example.com",
                             "example.com' OR 1=1 --", "x'", "a\"b", "b%c", "ex;ample", "bücher.de", "ftp:/x",
                             "://example.com", "1://example.com", "exa\x01mple.com",
                             "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa.com"}) // a 64-character label
        EXPECT_FALSE(ParseKeepEntry(junk)) << junk;
    // Only what parses, exactly as it parses, goes into a list.
    CookieKeepList list;
    EXPECT_FALSE(list.Add(KeepEntry{"x') OR ('1'='1", 0, false}));
    EXPECT_FALSE(list.Add(KeepEntry{"Example.com", 0, false}));
    EXPECT_FALSE(list.Add(KeepEntry{"192.168.1.10", 0, false})); // an address stored as a domain would keep its "subdomains"
    EXPECT_TRUE(list.Add(*ParseKeepEntry("example.com")));
    EXPECT_FALSE(list.Add(*ParseKeepEntry(".EXAMPLE.com"))); // already there
    EXPECT_EQ(list.Stored(), std::vector<std::string>{"example.com"});
    EXPECT_TRUE(list.Remove(*ParseKeepEntry("example.com")));
    EXPECT_TRUE(list.Empty());
}

TEST(KeepEntries, AStoredListWithOneDamagedEntryIsNoListAtAll) {
    EXPECT_FALSE(CookieKeepList::FromStored({"example.com", "exa mple.com"}));
    EXPECT_FALSE(CookieKeepList::FromStored({""}));
    const std::optional<CookieKeepList> list = CookieKeepList::FromStored({"b.example", "A.example", "b.example"});
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Stored(), (std::vector<std::string>{"b.example", "a.example"}));
    ASSERT_TRUE(CookieKeepList::FromStored({}));
    EXPECT_TRUE(CookieKeepList::FromStored({})->Empty());
}

TEST(KeepMatching, ADomainKeepsItselfAndWhatIsBelowItNeverALookalike) {
    const CookieKeepList keep = ExampleAndDevice();
    for (const auto& [host, kept] : kHosts) EXPECT_EQ(keep.KeepsCookieHost(host), kept) << host;
    EXPECT_FALSE(CookieKeepList{}.KeepsCookieHost("example.com"));
}

TEST(KeepMatching, AnOriginIsKeptForThePortItsEntryNames) {
    const CookieKeepList keep = *CookieKeepList::FromStored({"example.com", "192.168.1.10:8080", "nas.lan:5001"});
    EXPECT_TRUE(keep.KeepsOrigin("a.example.com", 0));
    EXPECT_TRUE(keep.KeepsOrigin("example.com", 8443)); // no port named: every port
    EXPECT_TRUE(keep.KeepsOrigin("192.168.1.10", 8080));
    EXPECT_FALSE(keep.KeepsOrigin("192.168.1.10", 0));
    EXPECT_FALSE(keep.KeepsOrigin("192.168.1.10", 80));
    EXPECT_TRUE(keep.KeepsOrigin("nas.lan", 5001));
    EXPECT_TRUE(keep.KeepsOrigin("photos.nas.lan", 5001));
    EXPECT_FALSE(keep.KeepsOrigin("nas.lan", 5000));
    EXPECT_FALSE(keep.KeepsOrigin("notexample.com", 0));
    // A cookie has no port: the device's cookies stay whatever port set them.
    EXPECT_TRUE(keep.KeepsCookieHost("192.168.1.10"));
}

TEST(KeepDatabases, ChromiumCookiesLoseEveryRowButTheKeptSitesAndAgreeWithTheMatching) {
    TestDb db;
    db.Exec(kChromiumCookiesSchema);
    int n = 0;
    for (const auto& [host, kept] : kHosts)
        db.Exec("INSERT INTO cookies VALUES (1, '" + std::string(host) + "', '', 'n" + std::to_string(n++) +
                "', 'v', x'', '/', 0, 1, 1, 0, 1, 1, 1, 0, 2, 443, 0, 0, 0)");
    // A partitioned cookie of the tracker, set while example.com was open: it is the tracker's.
    db.Exec("INSERT INTO cookies VALUES (1, 'tracker.test', 'https://example.com', 'p', 'v', x'', '/', 0, 1, 1, 0,"
            " 1, 1, 1, 0, 2, 443, 0, 0, 1)");
    for (const std::string& sql : ChromiumCookieStatements(ExampleAndDevice())) db.Exec(sql);
    std::vector<std::string> expected;
    for (const auto& [host, kept] : kHosts)
        if (kept) expected.push_back(host);
    EXPECT_EQ(Sorted(db.Column("SELECT host_key FROM cookies")), Sorted(expected));
}

TEST(KeepDatabases, FirefoxCookiesLoseEveryRowButTheKeptSites) {
    TestDb db;
    db.Exec(kFirefoxCookiesSchema);
    db.Exec("INSERT INTO moz_cookies (originAttributes, name, value, host, path) VALUES"
            " ('', 'a', '1', '.example.com', '/'), ('', 'b', '2', 'a.example.com', '/'),"
            " ('', 'c', '3', 'tracker.test', '/'), ('', 'd', '4', '192.168.1.10', '/'),"
            " ('^partitionKey=%28https%2Cexample.com%29', 'e', '5', '.tracker.test', '/'),"
            " ('', 'f', '6', 'example.com.evil.test', '/'), ('', 'g', '7', '.notexample.com', '/')");
    for (const std::string& sql : FirefoxCookieStatements(ExampleAndDevice())) db.Exec(sql);
    EXPECT_EQ(Sorted(db.Column("SELECT host FROM moz_cookies")),
              (std::vector<std::string>{".example.com", "192.168.1.10", "a.example.com"}));
    // An empty list keeps nothing (the cleaner removes the whole file then, as it always did).
    for (const std::string& sql : FirefoxCookieStatements(CookieKeepList{})) db.Exec(sql);
    EXPECT_TRUE(db.Column("SELECT host FROM moz_cookies").empty());
}

TEST(KeepDatabases, TheWebDatabaseIndexKeepsTheKeptSitesAndEveryExtension) {
    TestDb db;
    db.Exec("CREATE TABLE Databases (id INTEGER PRIMARY KEY AUTOINCREMENT, origin TEXT NOT NULL, name TEXT NOT NULL,"
            " description TEXT NOT NULL, estimated_size INTEGER NOT NULL)");
    db.Exec("INSERT INTO Databases (origin, name, description, estimated_size) VALUES"
            " ('https_example.com_0', 'kept1', '', 1), ('https_mail.example.com_0', 'kept2', '', 1),"
            " ('http_192.168.1.10_8080', 'kept3', '', 1), ('http_192.168.1.10_80', 'gone1', '', 1),"
            " ('https_notexample.com_0', 'gone2', '', 1), ('https_example.com.evil.test_0', 'gone3', '', 1),"
            " ('https_tracker.test_0', 'gone4', '', 1), ('chrome-extension_abcdef_0', 'kept4', '', 1)");
    for (const std::string& sql : ChromiumWebDatabaseIndexStatements(ExampleAndDevice())) db.Exec(sql);
    EXPECT_EQ(Sorted(db.Column("SELECT name FROM Databases")),
              (std::vector<std::string>{"kept1", "kept2", "kept3", "kept4"}));
    for (const std::string& sql : ChromiumWebDatabaseIndexStatements(CookieKeepList{})) db.Exec(sql);
    EXPECT_EQ(db.Column("SELECT name FROM Databases"), std::vector<std::string>{"kept4"});
}

TEST(KeepImport, OneSitePerLineCommentsAndBlanksSkippedJunkCounted) {
    const KeepImport import = ParseKeepImport("\xEF\xBB\xBF# my sites\r\n"
                                              "example.com\r\n"
                                              "\r\n"
                                              "  ; the printer\r\n"
                                              "https://Mail.Example.org/inbox\r\n"
                                              "not a site\r\n"
                                              "EXAMPLE.com\n"
                                              "192.168.1.10:8080\n"
                                              "*.wild.card\n"
                                              "last.example");
    std::vector<std::string> texts;
    for (const KeepEntry& e : import.entries) texts.push_back(e.Text());
    EXPECT_EQ(texts, (std::vector<std::string>{"example.com", "mail.example.org", "192.168.1.10:8080", "last.example"}));
    EXPECT_EQ(import.rejected, 2u);
    EXPECT_EQ(import.firstRejectedLine, 6u);
    EXPECT_EQ(ParseKeepImport("").entries.size(), 0u);
    EXPECT_EQ(ParseKeepImport("a.example\nb.example\n").rejected, 0u);
    EXPECT_EQ(ParseKeepImport("a.example\nb.example\n").firstRejectedLine, 0u);
}

TEST(KeepStores, SiteFoldersWiniNetAddressesAndIECookieFilesNameTheirHosts) {
    const std::optional<SiteOrigin> idb = OriginOfChromiumSiteFolder("https_www.example.com_0.indexeddb.leveldb");
    ASSERT_TRUE(idb);
    EXPECT_EQ(idb->host, "www.example.com");
    EXPECT_EQ(idb->port, 0);
    const std::optional<SiteOrigin> device = OriginOfChromiumSiteFolder("http_192.168.1.10_8080.indexeddb.blob");
    ASSERT_TRUE(device);
    EXPECT_EQ(device->host, "192.168.1.10");
    EXPECT_EQ(device->port, 8080);
    EXPECT_EQ(OriginOfChromiumSiteFolder("http_my_host_0")->host, "my_host");
    for (const char* name : {"chrome-extension_abc_0.indexeddb.leveldb", "https_", "https__0", "https_x_", "https_x_99999",
                             "https_x_0a", "file__0"})
        EXPECT_FALSE(OriginOfChromiumSiteFolder(name)) << name;

    EXPECT_EQ(HostOfWinInetCookie("Cookie:user@www.example.com/"), "www.example.com");
    EXPECT_EQ(HostOfWinInetCookie("cookie:user@192.168.1.10/admin/"), "192.168.1.10");
    EXPECT_FALSE(HostOfWinInetCookie("Visited:user@https://tracker.test/"));
    EXPECT_FALSE(HostOfWinInetCookie("Cookie:user"));
    EXPECT_FALSE(HostOfWinInetCookie("Cookie:user@/"));

    const std::optional<std::vector<std::string>> hosts = HostsOfIECookieFile(
        "id\n42\nexample.com/\n1024\n1\n2\n3\n4\n*\nsid\nx\na.example.com/path/\n0\n1\n2\n3\n4\n*\n");
    ASSERT_TRUE(hosts);
    EXPECT_EQ(*hosts, (std::vector<std::string>{"example.com", "a.example.com"}));
    EXPECT_EQ(HostsOfIECookieFile("id\r\n42\r\ntracker.test/\r\n0\r\n1\r\n2\r\n3\r\n4\r\n*\r\n"),
              std::vector<std::string>{"tracker.test"});
    for (const char* other : {"", "[.ShellClassInfo]\r\n", "id\n42\nexample.com/\n*\n", "id\n42\nexample.com/\n0\n1\n2\n3\n4\n"})
        EXPECT_FALSE(HostsOfIECookieFile(other)) << other;
}

TEST(KeepStores, LocalStorageKeysOfWebSitesGoButTheKeptSitesAndEveryExtensionsStay) {
    const CookieKeepList keep = ExampleAndDevice();
    using namespace std::string_literals;
    for (const std::string& key : {"META:https://tracker.test"s, "METAACCESS:https://tracker.test"s,
                                   "_https://tracker.test\0\x01theme"s, "_http://notexample.com\0\x01k"s,
                                   "_https://example.com.evil.test\0\x01k"s, "_http://192.168.1.10\0\x01k"s,
                                   "_http://192.168.1.10:80\0\x01k"s, "META:https://tracker.test/^0https://example.com"s,
                                   "_https://tracker.test/^0https://example.com\0\x01k"s})
        EXPECT_TRUE(IsRemovedLocalStorageKey(key, keep)) << key;
    for (const std::string& key : {"VERSION"s, "META:https://example.com"s, "METAACCESS:https://a.example.com"s,
                                   "_https://example.com\0\x01session"s, "_https://www.example.com/\0\x01k"s,
                                   "_http://192.168.1.10:8080\0\x01k"s, "_chrome-extension://abcdefghijklmnop\0\x01k"s,
                                   "META:chrome-extension://abcdefghijklmnop"s, "_https://tracker.test"s,
                                   "_https://x.test:99999\0k"s, "_file://\0\x01k"s, ""s})
        EXPECT_FALSE(IsRemovedLocalStorageKey(key, keep)) << key;
    // With nothing kept every web site's key goes, and still no extension's.
    EXPECT_TRUE(IsRemovedLocalStorageKey("_https://example.com\0\x01k"s, CookieKeepList{}));
    EXPECT_FALSE(IsRemovedLocalStorageKey("_chrome-extension://abc\0\x01k"s, CookieKeepList{}));
}
