// CleanDatabase's connection as another program sees it: once the cleaning has written, nobody else
// gets into the database (between the statements and the rebuild, say) until the connection is
// closed, and then it is free again.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "engine/database_cleaning.h"
#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"

namespace {

std::string g_database;           // the file being cleaned
std::vector<int> g_otherReads;    // what another connection's reads got, inside the cleaning

// zlt_other_reader(): a connection of its own (its own handle on the file, as another program
// would have) reads the database being cleaned.
void OtherReader(sqlite3_context* context, int, sqlite3_value**) {
    sqlite3* other = nullptr;
    int read = sqlite3_open_v2(g_database.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr);
    if (read == SQLITE_OK) read = sqlite3_exec(other, "SELECT count(*) FROM visits", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    g_otherReads.push_back(read);
    sqlite3_result_int(context, read);
}

int AddOtherReader(sqlite3* db, char**, const sqlite3_api_routines*) {
    return sqlite3_create_function(db, "zlt_other_reader", 0, SQLITE_UTF8, nullptr, OtherReader, nullptr, nullptr);
}

int64_t Rows(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_stmt* count = nullptr;
    int64_t rows = -1;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT count(*) FROM visits", -1, &count, nullptr) == SQLITE_OK &&
        sqlite3_step(count) == SQLITE_ROW)
        rows = sqlite3_column_int64(count, 0);
    sqlite3_finalize(count);
    sqlite3_close(db);
    return rows;
}

} // namespace

TEST(DatabaseConnection, OnceWrittenTheDatabaseIsNobodyElsesUntilTheCleaningCloses) {
    TempFolder folder;
    for (const char* journal : {"DELETE", "WAL"}) {
        g_database = folder / (std::string("history-") + journal + ".sqlite");
        {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(g_database.c_str(), &db), SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(db,
                                   (std::string("PRAGMA journal_mode=") + journal +
                                    "; CREATE TABLE visits(id INTEGER PRIMARY KEY, url TEXT);"
                                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50)"
                                    " INSERT INTO visits SELECT i, 'https://example.com/' || i FROM n;")
                                       .c_str(),
                                   nullptr, nullptr, nullptr),
                      SQLITE_OK);
            sqlite3_close(db);
        }
        g_otherReads.clear();
        ProgramSettings settings;
        settings.ApplyDefaults();
        HistoryCleaner cleaner(&settings);
        ASSERT_EQ(sqlite3_auto_extension(reinterpret_cast<void (*)()>(AddOtherReader)), SQLITE_OK);
        // The job's own VACUUM commits the deletion; what follows it runs on the written file.
        const DatabaseResult result = CleanDatabase(
            cleaner, g_database, {{"DELETE FROM visits WHERE id <= 20", "VACUUM", "SELECT zlt_other_reader()"}});
        sqlite3_reset_auto_extension();
        EXPECT_EQ(result.outcome, DatabaseOutcome::Cleaned) << journal;
        EXPECT_TRUE(result.integrityOk) << journal;
        // Another reader is turned away until the end: the lock of the first write is still held.
        ASSERT_EQ(g_otherReads.size(), 1u) << journal;
        EXPECT_NE(g_otherReads[0], SQLITE_OK) << journal;
        EXPECT_EQ(Rows(g_database), 30) << journal;
    }
}
