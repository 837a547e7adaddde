// The Chromium family's portable steps: the profiles Local State names, the folders that are a
// user's profile or a web site's data, and the statements run on real-schema databases.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "engine/cleaners/chromium_edits.h"

namespace {

// Runs `sql` on an in-memory database and gives the first column of `query`'s rows.
std::vector<std::string> RunAndRead(const std::string& sql, const std::vector<std::string>& statements,
                                    const std::string& query) {
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    for (const std::string& statement : statements)
        EXPECT_EQ(sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << statement;
    std::vector<std::string> rows;
    sqlite3_stmt* read = nullptr;
    sqlite3_prepare_v2(db, query.c_str(), -1, &read, nullptr);
    while (sqlite3_step(read) == SQLITE_ROW) rows.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(read, 0)));
    sqlite3_finalize(read);
    sqlite3_close(db);
    return rows;
}

} // namespace

TEST(ChromiumProfiles, LocalStateGivesTheUsersProfilesWithTheirNamesInFileOrder) {
    const auto profiles = ProfilesFromLocalState(
        R"({"profile":{"info_cache":{"Profile 3":{"name":"Work"},"Default":{"name":"Person 1"},)"
        R"("Profile 5":{"avatar_icon":"x"},"System Profile":{"name":"s"},"Guest Profile":{},)"
        R"("..\\Elsewhere":{"name":"x"},"a/b":{}}}})");
    ASSERT_EQ(profiles.size(), 3u);
    EXPECT_EQ(profiles[0].folder, "Profile 3");
    EXPECT_EQ(profiles[0].name, "Work");
    EXPECT_EQ(profiles[1].folder, "Default");
    EXPECT_EQ(profiles[1].name, "Person 1");
    EXPECT_EQ(profiles[2].folder, "Profile 5");
    EXPECT_EQ(profiles[2].name, ""); // no name: the caller shows the folder's
    EXPECT_TRUE(ProfilesFromLocalState("not json").empty());
    EXPECT_TRUE(ProfilesFromLocalState(R"({"profile":{"last_used":"Default"}})").empty());
}

TEST(ChromiumProfiles, FolderNamesThatAreAProfileOrAWebSitesData) {
    for (const char* name : {"Default", "Profile 7", "Person-Two"}) EXPECT_TRUE(IsChromiumProfileFolder(name)) << name;
    for (const char* name : {"System Profile", "Guest Profile", "", "..", "a\\b", "C:x", "x..y"})
        EXPECT_FALSE(IsChromiumProfileFolder(name)) << name;
    for (const char* name : {"https_www.example.com_0.indexeddb.leveldb", "http_localhost_8080", "https_a.b_0"})
        EXPECT_TRUE(IsWebOriginFolder(name)) << name;
    for (const char* name : {"chrome-extension_abcdefgh_0.indexeddb.leveldb", "https_", "file__0", "Https_x_0",
                             "chrome_x_0", "httpsx_a_0"})
        EXPECT_FALSE(IsWebOriginFolder(name)) << name;
    EXPECT_TRUE(MayNameAnExtension("ORIGIN:chrome-extension_abc_0"));
    EXPECT_TRUE(MayNameAnExtension("\x01\x02xtension\x05 chrome-"));
    EXPECT_FALSE(MayNameAnExtension("ORIGIN:https_site.example_0\x00\x01 000"));
}

TEST(ChromiumEdits, PreferencesLoseOnlyTheServersTheBrowserTalkedTo) {
    EXPECT_EQ(PreferencesWithoutServerProperties(
                  R"({"net":{"http_server_properties":{"servers":[{"server":"https://a.example"}]},"x":1},"y":2})"),
              R"({"net":{"x":1},"y":2})");
    EXPECT_FALSE(PreferencesWithoutServerProperties(R"({"net":{"x":1}})"));
    EXPECT_FALSE(PreferencesWithoutServerProperties("{broken"));
}

TEST(ChromiumEdits, StatementsTakeTheirRowsAndLeaveTheRestOfTheDatabase) {
    const std::string history =
        "CREATE TABLE urls(id INTEGER PRIMARY KEY, url LONGVARCHAR);"
        "CREATE TABLE downloads (id INTEGER PRIMARY KEY, target_path LONGVARCHAR NOT NULL);"
        "CREATE TABLE downloads_url_chains (id INTEGER NOT NULL, chain_index INTEGER NOT NULL, url LONGVARCHAR NOT "
        "NULL, PRIMARY KEY (id, chain_index));"
        "CREATE TABLE downloads_slices (download_id INTEGER NOT NULL, offset INTEGER NOT NULL, received_bytes INTEGER "
        "NOT NULL, finished INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (download_id, offset));"
        "INSERT INTO urls VALUES (1, 'kept'); INSERT INTO downloads VALUES (1, 'gone');"
        "INSERT INTO downloads_url_chains VALUES (1, 0, 'gone'); INSERT INTO downloads_slices VALUES (1, 0, 5, 1);";
    EXPECT_EQ(RunAndRead(history, ChromiumDownloadStatements(),
                         "SELECT (SELECT count(*) FROM downloads) || (SELECT count(*) FROM downloads_url_chains) || "
                         "(SELECT count(*) FROM downloads_slices) || (SELECT group_concat(url) FROM urls)"),
              std::vector<std::string>{"000kept"});
    const std::string webData =
        "CREATE TABLE autofill (name VARCHAR, value VARCHAR, value_lower VARCHAR, date_created INTEGER DEFAULT 0,"
        " date_last_used INTEGER DEFAULT 0, count INTEGER DEFAULT 1, PRIMARY KEY (name, value));"
        "CREATE TABLE keywords (id INTEGER PRIMARY KEY, short_name VARCHAR NOT NULL);"
        "INSERT INTO autofill VALUES ('q', 'typed', 'typed', 1, 2, 3); INSERT INTO keywords VALUES (1, 'engine');";
    EXPECT_EQ(RunAndRead(webData, ChromiumFormDataStatements(),
                         "SELECT (SELECT count(*) FROM autofill) || (SELECT short_name FROM keywords)"),
              std::vector<std::string>{"0engine"});
    const std::string index =
        "CREATE TABLE Databases (id INTEGER PRIMARY KEY AUTOINCREMENT, origin TEXT NOT NULL, name TEXT NOT NULL);"
        "INSERT INTO Databases VALUES (1, 'https_a.example_0', 'a'), (2, 'http_b.example_80', 'b'),"
        " (3, 'chrome-extension_abc_0', 'ext'), (4, 'httpsish_c_0', 'odd');";
    EXPECT_EQ(RunAndRead(index, ChromiumWebDatabaseIndexStatements(), "SELECT name FROM Databases ORDER BY id"),
              (std::vector<std::string>{"ext", "odd"}));
}
