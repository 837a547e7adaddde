#include "tests/wine/places_fixture.h"

#include <windows.h>

#include <cstdio>

#include "tests/wine/test_support.h"

namespace {

// The tables and indexes that the cleaners' statements address, and the ones beside them, as
// Firefox 3.6 created them.
const char kOldSchema[] = R"sql(
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
  visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
  favicon_id INTEGER, frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER);
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER,
  visit_date INTEGER, visit_type INTEGER, session INTEGER);
CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,
  PRIMARY KEY (place_id, input));
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER,
  lastModified INTEGER);
CREATE TABLE moz_bookmarks_roots (root_name VARCHAR(16) UNIQUE, folder_id INTEGER);
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE);
CREATE TABLE moz_favicons (id INTEGER PRIMARY KEY, url LONGVARCHAR UNIQUE, data BLOB, mime_type VARCHAR(32),
  expiration LONG);
CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER,
  mime_type VARCHAR(32) DEFAULT NULL, content LONGVARCHAR, flags INTEGER DEFAULT 0,
  expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0, dateAdded INTEGER DEFAULT 0,
  lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_items_annos (id INTEGER PRIMARY KEY, item_id INTEGER NOT NULL, anno_attribute_id INTEGER,
  mime_type VARCHAR(32) DEFAULT NULL, content LONGVARCHAR, flags INTEGER DEFAULT 0,
  expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0, dateAdded INTEGER DEFAULT 0,
  lastModified INTEGER DEFAULT 0);
CREATE UNIQUE INDEX moz_places_url_uniqueindex ON moz_places (url);
CREATE INDEX moz_places_faviconindex ON moz_places (favicon_id);
CREATE INDEX moz_places_hostindex ON moz_places (rev_host);
CREATE INDEX moz_places_visitcount ON moz_places (visit_count);
CREATE INDEX moz_places_frecencyindex ON moz_places (frecency);
CREATE INDEX moz_places_lastvisitdateindex ON moz_places (last_visit_date);
CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);
CREATE INDEX moz_historyvisits_fromindex ON moz_historyvisits (from_visit);
CREATE INDEX moz_historyvisits_dateindex ON moz_historyvisits (visit_date);
CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);
CREATE INDEX moz_bookmarks_itemlastmodifiedindex ON moz_bookmarks (fk, lastModified);
CREATE UNIQUE INDEX moz_annos_placeattributeindex ON moz_annos (place_id, anno_attribute_id);
CREATE UNIQUE INDEX moz_items_annos_itemattributeindex ON moz_items_annos (item_id, anno_attribute_id);
PRAGMA user_version=10;
)sql";

// As Firefox 115 and later create them: the favicons live in favicons.sqlite, places carry a hash
// of their URL and an origin.
const char kCurrentSchema[] = R"sql(
PRAGMA journal_mode=WAL;
CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL,
  frecency INTEGER NOT NULL, recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,
  recalc_alt_frecency INTEGER NOT NULL DEFAULT 0, UNIQUE (prefix, host));
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
  visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
  frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT,
  foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT,
  preview_image_url TEXT, site_name TEXT, origin_id INTEGER REFERENCES moz_origins(id),
  recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,
  recalc_alt_frecency INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER,
  visit_date INTEGER, visit_type INTEGER, session INTEGER, source INTEGER DEFAULT 0 NOT NULL,
  triggeringPlaceId INTEGER);
CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,
  PRIMARY KEY (place_id, input));
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER,
  lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0,
  syncChangeCounter INTEGER NOT NULL DEFAULT 1);
CREATE TABLE moz_bookmarks_deleted (guid TEXT PRIMARY KEY, dateRemoved INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER,
  post_data TEXT);
CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER,
  content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0,
  dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_items_annos (id INTEGER PRIMARY KEY, item_id INTEGER NOT NULL, anno_attribute_id INTEGER,
  content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0,
  dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_meta (key TEXT PRIMARY KEY, value NOT NULL) WITHOUT ROWID;
CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash);
CREATE INDEX moz_places_hostindex ON moz_places (rev_host);
CREATE INDEX moz_places_visitcount ON moz_places (visit_count);
CREATE INDEX moz_places_frecencyindex ON moz_places (frecency);
CREATE INDEX moz_places_lastvisitdateindex ON moz_places (last_visit_date);
CREATE UNIQUE INDEX moz_places_guid_uniqueindex ON moz_places (guid);
CREATE INDEX moz_places_originidindex ON moz_places (origin_id);
CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);
CREATE INDEX moz_historyvisits_fromindex ON moz_historyvisits (from_visit);
CREATE INDEX moz_historyvisits_dateindex ON moz_historyvisits (visit_date);
CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);
CREATE INDEX moz_bookmarks_itemlastmodifiedindex ON moz_bookmarks (fk, lastModified);
CREATE INDEX moz_bookmarks_dateaddedindex ON moz_bookmarks (dateAdded);
CREATE UNIQUE INDEX moz_bookmarks_guid_uniqueindex ON moz_bookmarks (guid);
CREATE UNIQUE INDEX moz_keywords_placepostdata_uniqueindex ON moz_keywords (place_id, post_data);
CREATE UNIQUE INDEX moz_annos_placeattributeindex ON moz_annos (place_id, anno_attribute_id);
CREATE UNIQUE INDEX moz_items_annos_itemattributeindex ON moz_items_annos (item_id, anno_attribute_id);
INSERT INTO moz_meta VALUES ('origin_frecency_count', 0);
PRAGMA user_version=75;
)sql";

std::string Format(const char* format, int n) {
    char text[160];
    std::snprintf(text, sizeof text, format, n, n);
    return text;
}

std::string Reversed(const std::string& host) {
    return std::string(host.rbegin(), host.rend()) + ".";
}

// Binds and steps a prepared statement once.
struct Insert {
    sqlite3_stmt* statement = nullptr;
    Insert(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &statement, nullptr); }
    ~Insert() { sqlite3_finalize(statement); }
    Insert& Text(int column, const std::string& value) {
        sqlite3_bind_text(statement, column, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Insert& Int(int column, long long value) {
        sqlite3_bind_int64(statement, column, value);
        return *this;
    }
    Insert& Blob(int column, const std::string& value) {
        sqlite3_bind_blob(statement, column, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    void Step() {
        sqlite3_step(statement);
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

} // namespace

PlacesContent MakePlaces(const std::string& path, PlacesSchema schema, int places, PlacesWriter writer) {
    PlacesContent content;
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return content;
    }
    // A connection's own setting: the cleaner's connection must still turn it on for itself.
    sqlite3_exec(db, writer.secureDelete ? "PRAGMA secure_delete=ON" : "PRAGMA secure_delete=OFF", nullptr, nullptr,
                 nullptr);
    const bool old = schema == PlacesSchema::Old;
    sqlite3_exec(db, old ? kOldSchema : kCurrentSchema, nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    {
        Insert place(db, old ? "INSERT INTO moz_places (id, url, title, rev_host, visit_count, favicon_id, "
                               "frecency, last_visit_date) VALUES (?1, ?2, ?3, ?4, 2, ?5, 100, ?6)"
                             : "INSERT INTO moz_places (id, url, title, rev_host, visit_count, frecency, "
                               "last_visit_date, guid, url_hash, origin_id, description) "
                               "VALUES (?1, ?2, ?3, ?4, 2, 100, ?6, ?7, ?8, ?9, ?3)");
        Insert visit(db, "INSERT INTO moz_historyvisits (place_id, from_visit, visit_date, visit_type, session) "
                         "VALUES (?1, 0, ?2, 1, 0)");
        Insert input(db, "INSERT INTO moz_inputhistory VALUES (?1, ?2, 1)");
        Insert bookmark(db, old ? "INSERT INTO moz_bookmarks (type, fk, parent, position, title, dateAdded) "
                                  "VALUES (1, ?1, 2, ?2, ?3, 1)"
                                : "INSERT INTO moz_bookmarks (type, fk, parent, position, title, dateAdded, "
                                  "guid) VALUES (1, ?1, 2, ?2, ?3, 1, ?4)");
        Insert favicon(db, "INSERT INTO moz_favicons (id, url, data, mime_type) VALUES (?1, ?2, ?3, 'image/png')");
        Insert origin(db, "INSERT INTO moz_origins (id, prefix, host, frecency) VALUES (?1, 'http://', ?2, 100)");
        // Folders of the bookmarks tree.
        for (int folder = 1; folder <= 2; ++folder)
            bookmark.Int(2, folder).Text(3, folder == 1 ? "root" : "Bookmarks Menu").Text(4, Format("root________%d", folder)).Step();

        for (int n = 1; n <= places; ++n) {
            const bool query = n % 50 == 7;
            const bool bookmarked = !query && n % 10 == 3;
            std::string host, url, title;
            if (query) {
                url = Format("place:sort=8&maxResults=%d&queryId=%d", n);
                title = "Most Visited";
            } else if (bookmarked) {
                host = Format("kept-host-%03d.example", n);
                url = "http://" + host + Format("/kept-path-%03d", n);
                title = Format("Kept title %03d", n);
            } else {
                host = Format("gone-host-%03d.example", n);
                url = "http://" + host + Format("/secret-path-%03d?q=gone%03d", n);
                title = Format("Gone page title %03d", n);
            }
            place.Int(1, n).Text(2, url).Text(3, title).Text(4, host.empty() ? "" : Reversed(host));
            place.Int(6, 1700000000000000LL + n);
            if (old) {
                if (!query) place.Int(5, n);
            } else {
                place.Text(7, Format("guid%08d", n)).Int(8, 0x100000000LL * n + n);
                if (!query) place.Int(9, n);
            }
            place.Step();
            if (!query) {
                if (old) {
                    // A favicon big enough to take an overflow page of its own.
                    std::string data(1500, 'P');
                    data.replace(0, 40, Format(bookmarked ? "kept-icon-%03d-%03d" : "gone-icon-%03d-%03d", n));
                    favicon.Int(1, n).Text(2, "http://" + host + "/favicon.ico").Blob(3, data).Step();
                } else {
                    origin.Int(1, n).Text(2, host).Step();
                }
            }
            for (int v = 0; v < 2; ++v) visit.Int(1, n).Int(2, 1700000000000000LL + n * 10 + v).Step();
            if (!query) input.Int(1, n).Text(2, Format("input%03d", n)).Step();
            if (bookmarked || query) {
                bookmark.Int(1, n).Int(2, n).Text(3, title).Text(4, Format("bookmark%04d", n)).Step();
                ++content.bookmarks;
                content.kept.push_back(url);
            } else {
                content.removed.push_back(url);
                content.removedTitles.push_back(title);
            }
        }
        content.bookmarks += 2;
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (writer.leaveLogBehind && !old) sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_close(db);
    return content;
}

PlacesDb::PlacesDb(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

PlacesDb::~PlacesDb() { sqlite3_close(db_); }

int PlacesDb::Run(const std::string& sql) {
    return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
}

std::vector<std::string> PlacesDb::Column(const std::string& query) {
    std::vector<std::string> values;
    sqlite3_stmt* statement = nullptr;
    if (!db_ || sqlite3_prepare_v2(db_, query.c_str(), -1, &statement, nullptr) != SQLITE_OK) return values;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(statement, 0);
        values.emplace_back(text ? reinterpret_cast<const char*>(text) : "NULL");
    }
    sqlite3_finalize(statement);
    return values;
}

long long PlacesDb::Count(const std::string& query) {
    const std::vector<std::string> values = Column(query);
    return values.empty() ? -1 : std::stoll(values.front());
}

std::string DatabaseFileBytes(const std::string& path) {
    std::string all;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        const std::vector<uint8_t> bytes = ReadFileBytes(path + suffix);
        all.append(bytes.begin(), bytes.end());
    }
    return all;
}
