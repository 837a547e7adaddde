#pragma once
// Cleaning another program's SQLite database so that nothing removed stays readable: not in the
// database file, not in its rollback journal, not in its write-ahead log.
//
// The one way every cleaner changes a database:
//  - only when no other process has the file open (a running browser or messenger): such a
//    database is left as it is, never waited for and never written;
//  - secure delete on (and checked: without it deleted rows stay in the free pages), temporary
//    data in memory, a rollback journal kept after the commit (journal_mode=PERSIST) so that the
//    original pages it holds can be shredded with it instead of being unlinked in the clear;
//  - the statements in transactions (VACUUM, which cannot run inside one, between them), a
//    write-ahead log checkpointed and cut to nothing before the close, an integrity check;
//  - after a clean close, the journal, log and shared-memory files go through RemoveFile, so they
//    are shredded when shredding is on. Beside a database that was left they stay: they may hold
//    its last transactions.
#include <cstdint>
#include <utility>
#include <string>
#include <vector>

class HistoryCleaner;

struct DatabaseJob {
    // Run in order. Consecutive statements share one transaction; "VACUUM" runs by itself where it
    // stands. A statement that fails (a table an older or newer schema lacks) does not stop the next.
    std::vector<std::string> statements;
    // Other databases the statements read, attached read-only under their names first:
    // {"places", "...\\places.sqlite"}.
    std::vector<std::pair<std::string, std::string>> attach = {};
};

enum class DatabaseOutcome {
    Missing,     // no such file
    NotOwn,      // a link or a cloud placeholder in the database's place: not this profile's
    Held,        // another process has it open
    Denied,      // no right to open it for writing
    NotCleaned,  // not a database, or SQLite refused to clean it safely
    Cleaned,
};

struct DatabaseResult {
    DatabaseOutcome outcome = DatabaseOutcome::Missing;
    // Rows deleted, per table, in the order the statements name them.
    std::vector<std::pair<std::string, int64_t>> deletedRows;
    bool integrityOk = false;
};

DatabaseResult CleanDatabase(HistoryCleaner& cleaner, const std::string& path, const DatabaseJob& job);

// The first column of every row `query` gives, read from the database at `path` without writing
// a byte of it or of the files beside it (the read-only way a preview reads). Empty when it cannot
// be read: missing, not a database, or held without sharing by its program.
std::vector<std::string> ReadDatabaseColumn(const std::string& path, const std::string& query);

// The UTF-8 form of a path in the ANSI code page, which is what SQLite takes; empty when it cannot
// be converted.
std::string Utf8FromAnsiPath(const std::string& ansi);

// Removes a database file the way a cleaner removes a whole database: the file through RemoveFile,
// then, only once the file is gone, the journal, log and shared-memory files beside it (a log left
// beside a database created anew would be replayed into it). Beside a database that stays (held
// by its program) they stay too. False when the database is still there.
bool RemoveDatabaseFile(HistoryCleaner& cleaner, const std::string& path);
