#pragma once
// An in-memory SQLite database for running the cleaners' statements natively: secure delete is off
// at first, as in a plain SQLite build, and the database's bytes can be searched afterwards.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <string_view>
#include <vector>

class TestDb {
public:
    TestDb() {
        sqlite3_open(":memory:", &db_);
        Exec("PRAGMA secure_delete=OFF");
    }
    ~TestDb() { sqlite3_close(db_); }
    TestDb(const TestDb&) = delete;
    TestDb& operator=(const TestDb&) = delete;

    // Runs `sql` as the cleaners do, without a callback; returns SQLite's result.
    int Run(const std::string& sql) {
        char* error = nullptr;
        const int result = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
        lastError_ = error ? error : "";
        sqlite3_free(error);
        return result;
    }
    // Runs `sql` and fails the test when SQLite rejects it.
    void Exec(const std::string& sql) {
        EXPECT_EQ(Run(sql), SQLITE_OK) << sql.substr(0, 80) << ": " << lastError_;
    }
    // The first column of every row of `query`, as text ("NULL" for null).
    std::vector<std::string> Column(const std::string& query) {
        std::vector<std::string> values;
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_, query.c_str(), -1, &statement, nullptr), SQLITE_OK) << query;
        while (statement && sqlite3_step(statement) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(statement, 0);
            values.emplace_back(text ? reinterpret_cast<const char*>(text) : "NULL");
        }
        sqlite3_finalize(statement);
        return values;
    }
    // The database file's bytes, free pages and unused cell space included.
    std::string Bytes() {
        sqlite3_int64 size = 0;
        unsigned char* data = sqlite3_serialize(db_, "main", &size, 0);
        std::string bytes(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
        sqlite3_free(data);
        return bytes;
    }
    bool Holds(std::string_view text) { return Bytes().find(text) != std::string::npos; }

private:
    sqlite3* db_ = nullptr;
    std::string lastError_;
};
