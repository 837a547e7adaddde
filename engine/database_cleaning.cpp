#include "engine/database_cleaning.h"

#include <windows.h>
#include <sqlite3.h>

#include "engine/file_entry.h"
#include "engine/history_cleaner.h"
#include "platform/handles.h"

namespace {

const char* const kSidecars[] = {"-journal", "-wal", "-shm"};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The table a "DELETE FROM <table> ..." statement deletes from; empty for any other statement.
std::string DeletedTable(const std::string& sql) {
    constexpr char kDelete[] = "DELETE FROM ";
    if (sql.compare(0, sizeof kDelete - 1, kDelete) != 0) return {};
    const size_t start = sizeof kDelete - 1;
    const size_t end = sql.find(' ', start);
    return sql.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The first column of the first row of `sql`, as text; empty when there is none.
std::string QueryText(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(statement, 0);
        if (text) value = reinterpret_cast<const char*>(text);
    }
    sqlite3_finalize(statement);
    return value;
}

bool Exec(sqlite3* db, const std::string& sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Whether any other process has the file open. Asking for it without sharing fails while anyone
// else holds a handle, whatever sharing they allowed; a program in the middle of a write holds one.
DatabaseOutcome OpenAlone(const std::string& path) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (file.valid()) return DatabaseOutcome::Cleaned;
    switch (GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return DatabaseOutcome::Held;
    case ERROR_ACCESS_DENIED: return DatabaseOutcome::Denied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return DatabaseOutcome::Missing;
    default: return DatabaseOutcome::NotCleaned;
    }
}

// Runs the job on an open connection; false when the connection could not be made safe.
bool RunJob(sqlite3* db, const DatabaseJob& job, DatabaseResult& result) {
    // Checked, not assumed: a build without it would leave every deleted row in the free pages.
    if (QueryText(db, "PRAGMA secure_delete=ON") != "1") return false;
    Exec(db, "PRAGMA temp_store=MEMORY");
    // The original pages a rollback journal holds are the very rows being deleted: kept after the
    // commit, the journal can be shredded; deleted by SQLite, it would be unlinked unshredded.
    const bool wal = QueryText(db, "PRAGMA journal_mode") == "wal";
    if (!wal && QueryText(db, "PRAGMA journal_mode=PERSIST") != "persist") return false;
    // A profile's worth of dirty pages in one transaction without spilling them half way.
    Exec(db, "PRAGMA cache_size=-65536");

    bool inTransaction = false;
    auto commit = [&] {
        if (inTransaction && !Exec(db, "COMMIT")) Exec(db, "ROLLBACK");
        inTransaction = false;
    };
    bool vacuumed = false, deleted = false;
    for (const std::string& sql : job.statements) {
        if (sql == "VACUUM") {
            commit();
            vacuumed = Exec(db, sql) || vacuumed;
            continue;
        }
        if (!inTransaction) inTransaction = Exec(db, "BEGIN");
        const bool ran = Exec(db, sql);
        const std::string table = DeletedTable(sql);
        if (table.empty()) continue;
        const int64_t rows = ran ? sqlite3_changes(db) : 0;
        result.deletedRows.emplace_back(table, rows);
        deleted = deleted || rows > 0;
    }
    commit();
    // Secure delete zeroes the cells it deletes, not the stale copies that the program's own
    // writes left in the gaps of pages that still hold kept rows (a page split moves cells and
    // leaves the old bytes behind). Only a rebuild of the file leaves none; the original pages go
    // to the journal, which is shredded or removed below.
    if (deleted && !vacuumed) Exec(db, "VACUUM");
    // The log holds every page written, before and after: copied back and cut to nothing.
    if (wal) Exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
    result.integrityOk = QueryText(db, "PRAGMA integrity_check") == "ok";
    return true;
}

} // namespace

std::string Utf8FromAnsiPath(const std::string& ansi) {
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

DatabaseResult CleanDatabase(HistoryCleaner& cleaner, const std::string& path, const DatabaseJob& job) {
    DatabaseResult result;
    // sqlite3_open would create a database it does not find.
    if (!Exists(path)) return result;
    {
        // SQLite opens what a link leads to: a database elsewhere is not this profile's to clean.
        FileEntry entry;
        if (!entry.Open(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) {
            result.outcome = DatabaseOutcome::Held;
            return result;
        }
        const FileEntry::Kind kind = entry.Identify(path);
        if (kind == FileEntry::Kind::Link || kind == FileEntry::Kind::Placeholder) {
            result.outcome = DatabaseOutcome::NotOwn;
            return result;
        }
    }
    result.outcome = OpenAlone(path);
    if (result.outcome != DatabaseOutcome::Cleaned) return result;

    const std::string utf8 = Utf8FromAnsiPath(path);
    sqlite3* db = nullptr;
    const bool opened =
        !utf8.empty() && sqlite3_open_v2(utf8.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    const bool cleaned = opened && RunJob(db, job, result);
    // Also after a failed open, which may still hand out a connection. A close that fails leaves
    // the journal and the log where they are: they may be all that holds the last transaction.
    const bool closed = sqlite3_close(db) == SQLITE_OK;
    if (!cleaned) {
        result.outcome = DatabaseOutcome::NotCleaned;
        return result;
    }
    if (closed)
        for (const char* suffix : kSidecars)
            if (Exists(path + suffix)) cleaner.RemoveFile(path + suffix);
    return result;
}

bool RemoveDatabaseFile(HistoryCleaner& cleaner, const std::string& path) {
    if (Exists(path)) cleaner.RemoveFile(path);
    if (Exists(path)) return false;
    for (const char* suffix : kSidecars)
        if (Exists(path + suffix)) cleaner.RemoveFile(path + suffix);
    return true;
}
