#include "engine/database_cleaning.h"

#include <windows.h>
#include <sqlite3.h>

#include <cstdio>
#include <iterator>

#include "engine/file_entry.h"
#include "engine/recording.h"
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
DatabaseOutcome OpenAlone(const std::string& path, DWORD& error) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (file.valid()) return DatabaseOutcome::Cleaned;
    error = GetLastError();
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return DatabaseOutcome::Held;
    case ERROR_ACCESS_DENIED: return DatabaseOutcome::Denied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return DatabaseOutcome::Missing;
    default: return DatabaseOutcome::NotCleaned;
    }
}

std::string ReadOnlyUri(const std::string& utf8, bool hasLog);

// The job's other databases, attached for reading only.
bool AttachAll(sqlite3* db, const DatabaseJob& job) {
    for (const auto& [alias, path] : job.attach) {
        const std::string uri = ReadOnlyUri(Utf8FromAnsiPath(path), Exists(path + "-wal"));
        sqlite3_stmt* statement = nullptr;
        const std::string sql = "ATTACH DATABASE ?1 AS \"" + alias + "\"";
        bool ok = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
                  sqlite3_bind_text(statement, 1, uri.c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK &&
                  sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_finalize(statement);
        if (!ok) return false;
    }
    return true;
}

// Runs the job on an open connection; false when the connection could not be made safe. A
// preview runs it on an in-memory copy, where only the counts matter.
bool RunJob(sqlite3* db, const DatabaseJob& job, DatabaseResult& result, bool preview) {
    bool wal = false;
    if (!preview) {
        // Nobody else had the file open (OpenAlone): the first lock taken is kept until the
        // connection closes, so that no other program reads the database half cleaned, and SQLite
        // neither takes and drops its locks nor checks for another writer's journal around every
        // statement (each a call into the file system). Asked before anything is read; a WAL
        // database then keeps its index in memory, never in a -shm file.
        if (QueryText(db, "PRAGMA main.locking_mode=EXCLUSIVE") != "exclusive") return false;
        // Checked, not assumed: a build without it would leave every deleted row in the free pages.
        if (QueryText(db, "PRAGMA secure_delete=ON") != "1") return false;
        Exec(db, "PRAGMA temp_store=MEMORY");
        // The original pages a rollback journal holds are the very rows being deleted: kept after
        // the commit, the journal can be shredded; deleted by SQLite, it would be unlinked
        // unshredded.
        wal = QueryText(db, "PRAGMA journal_mode") == "wal";
        if (!wal && QueryText(db, "PRAGMA journal_mode=PERSIST") != "persist") return false;
    }
    // A profile's worth of dirty pages in one transaction without spilling them half way.
    Exec(db, "PRAGMA cache_size=-65536");
    if (!AttachAll(db, job)) return false;

    bool inTransaction = false;
    auto commit = [&] {
        if (inTransaction && !Exec(db, "COMMIT")) Exec(db, "ROLLBACK");
        inTransaction = false;
    };
    bool vacuumed = false, deleted = false;
    for (const std::string& sql : job.statements) {
        if (sql == "VACUUM") {
            commit();
            if (!preview) vacuumed = Exec(db, sql) || vacuumed;
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
    if (preview) return true;
    // Secure delete zeroes the cells it deletes, not the stale copies that the program's own
    // writes left in the gaps of pages that still hold kept rows (a page split moves cells and
    // leaves the old bytes behind). Only a rebuild of the file leaves none; the original pages go
    // to the journal, which is shredded or removed below.
    if (deleted && !vacuumed) Exec(db, "VACUUM");
    // The log holds every page written, before and after: copied back and cut to nothing.
    if (wal) Exec(db, "PRAGMA main.wal_checkpoint(TRUNCATE)");
    result.integrityOk = QueryText(db, "PRAGMA main.integrity_check") == "ok";
    for (const auto& attached : job.attach) Exec(db, "DETACH DATABASE \"" + attached.first + "\"");
    return true;
}

// "file:C:/a%20b/places.sqlite?mode=ro": the database opened for reading only. Without a log
// beside it, also immutable, so that SQLite neither locks nor makes a shared-memory file. With one,
// the shared-memory index beside it is read only too: a reader otherwise rewrites its header,
// and a preview would have changed a byte of the browser's files.
std::string ReadOnlyUri(const std::string& utf8, bool hasLog) {
    std::string uri = "file:";
    for (unsigned char c : utf8) {
        if (c == '\\') {
            uri += '/';
        } else if (c == '%' || c == '#' || c == '?' || c == ' ') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        } else {
            uri += static_cast<char>(c);
        }
    }
    return uri + (hasLog ? "?mode=ro&readonly_shm=1" : "?mode=ro&immutable=1");
}

// What the job would delete, counted on an in-memory copy of the database made with SQLite's
// backup: the file is read, never written, and the counts are those a run would make.
bool PreviewJob(const std::string& utf8, bool hasLog, const DatabaseJob& job, DatabaseResult& result) {
    sqlite3* source = nullptr;
    sqlite3* copy = nullptr;
    bool ok = sqlite3_open_v2(ReadOnlyUri(utf8, hasLog).c_str(), &source, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                              nullptr) == SQLITE_OK &&
              sqlite3_open_v2(":memory:", &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI,
                              nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main");
        ok = backup && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
        ok = sqlite3_backup_finish(backup) == SQLITE_OK && ok;
    }
    ok = ok && RunJob(copy, job, result, true);
    sqlite3_close(copy);
    sqlite3_close(source);
    return ok;
}

void RecordResult(HistoryCleaner& cleaner, const std::string& path, const DatabaseResult& result) {
    for (const auto& [table, rows] : result.deletedRows) {
        if (rows <= 0) continue;
        RecordItem item;
        item.kind = ItemKind::DatabaseTable;
        item.path = path;
        item.detail = table;
        item.rows = rows;
        cleaner.Record(std::move(item));
    }
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

std::vector<std::string> ReadDatabaseColumn(const std::string& path, const std::string& query) {
    std::vector<std::string> values;
    const std::string utf8 = Utf8FromAnsiPath(path);
    if (utf8.empty() || !Exists(path)) return values;
    {
        // What a link leads to is no profile's own.
        FileEntry entry;
        if (!entry.Open(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) return values;
        const FileEntry::Kind kind = entry.Identify(path);
        if (kind == FileEntry::Kind::Link || kind == FileEntry::Kind::Placeholder) return values;
    }
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(ReadOnlyUri(utf8, Exists(path + "-wal")).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                        nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr) == SQLITE_OK)
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(statement, 0);
            if (text) values.emplace_back(reinterpret_cast<const char*>(text));
        }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return values;
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
            cleaner.RecordLeft(ItemKind::File, path, GetLastError(), "database");
            return result;
        }
        const FileEntry::Kind kind = entry.Identify(path);
        if (kind == FileEntry::Kind::Link || kind == FileEntry::Kind::Placeholder) {
            result.outcome = DatabaseOutcome::NotOwn;
            cleaner.RecordLeft(ItemKind::File, path,
                               kind == FileEntry::Kind::Link ? LeftReason::Link : LeftReason::CloudPlaceholder,
                               "database");
            return result;
        }
    }
    DWORD error = ERROR_SUCCESS;
    result.outcome = OpenAlone(path, error);
    if (result.outcome != DatabaseOutcome::Cleaned) {
        cleaner.RecordLeft(ItemKind::File, path, error, "database");
        return result;
    }

    const std::string utf8 = Utf8FromAnsiPath(path);
    if (cleaner.dryRun) {
        const bool hasLog = Exists(path + "-wal");
        if (utf8.empty() || !PreviewJob(utf8, hasLog, job, result)) {
            result.outcome = DatabaseOutcome::NotCleaned;
            cleaner.RecordLeft(ItemKind::File, path, LeftReason::NotCleaned, "database");
            return result;
        }
        RecordResult(cleaner, path, result);
        return result;
    }
    // What the program itself left beside the database (a log of its last session) goes with the
    // cleaning and is recorded; the journal this cleaning keeps is its own.
    bool sidecarBefore[std::size(kSidecars)] = {};
    for (size_t i = 0; i < std::size(kSidecars); ++i) sidecarBefore[i] = Exists(path + kSidecars[i]);

    sqlite3* db = nullptr;
    const bool opened =
        !utf8.empty() && sqlite3_open_v2(utf8.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr) == SQLITE_OK;
    const bool cleaned = opened && RunJob(db, job, result, false);
    // Also after a failed open, which may still hand out a connection. A close that fails leaves
    // the journal and the log where they are: they may be all that holds the last transaction.
    const bool closed = sqlite3_close(db) == SQLITE_OK;
    if (!cleaned) {
        result.outcome = DatabaseOutcome::NotCleaned;
        cleaner.RecordLeft(ItemKind::File, path, LeftReason::NotCleaned, "database");
        return result;
    }
    RecordResult(cleaner, path, result);
    if (closed)
        for (size_t i = 0; i < std::size(kSidecars); ++i) {
            const std::string sidecar = path + kSidecars[i];
            if (!Exists(sidecar)) continue;
            const RecordingPause quiet(cleaner, !sidecarBefore[i]);
            cleaner.RemoveFile(sidecar);
        }
    return result;
}

bool RemoveDatabaseFile(HistoryCleaner& cleaner, const std::string& path) {
    if (Exists(path)) cleaner.RemoveFile(path);
    if (Exists(path)) return false;
    for (const char* suffix : kSidecars)
        if (Exists(path + suffix)) cleaner.RemoveFile(path + suffix);
    return true;
}
