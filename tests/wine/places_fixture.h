#pragma once
// Firefox "places.sqlite" files for the cleaners' tests, written through the program's own
// sqlite3.dll in the layouts Firefox has used: an old one (moz_favicons, a unique index on the
// URL, a rollback journal) and a current one (no moz_favicons; url_hash, moz_origins, a
// write-ahead log).
#include <sqlite3.h>

#include <string>
#include <vector>

enum class PlacesSchema { Old, Current };

// What a fixture holds. Every place of `removed` is neither bookmarked nor a "place:" query and
// has visits, input history and (old schema) a favicon; every URL of `kept` is bookmarked or a
// query. Each removed URL, title and favicon carries a marker that occurs nowhere else.
struct PlacesContent {
    std::vector<std::string> kept;    // the URLs that stay, in id order
    std::vector<std::string> removed; // the URLs that go
    std::vector<std::string> removedTitles;
    int bookmarks = 0;
};

struct PlacesWriter {
    // Firefox's SQLite is built with secure delete on, so the pages it rebuilds while the file grows
    // keep no stale copies of rows in their free space; a plain SQLite (and Firefox before 3.5)
    // leaves them there.
    bool secureDelete = true;
    // The last connection closes without a checkpoint, as a browser that was killed leaves it: the
    // rows then live only in "places.sqlite-wal" (current schema only).
    bool leaveLogBehind = false;
};

// Writes a places.sqlite of `places` places at `path` (which must not exist yet).
PlacesContent MakePlaces(const std::string& path, PlacesSchema schema, int places, PlacesWriter writer = {});

// An open connection for looking into a fixture.
class PlacesDb {
public:
    explicit PlacesDb(const std::string& path);
    ~PlacesDb();
    PlacesDb(const PlacesDb&) = delete;
    PlacesDb& operator=(const PlacesDb&) = delete;
    bool ok() const { return db_ != nullptr; }
    sqlite3* get() const { return db_; }
    // Runs `sql`; SQLite's result.
    int Run(const std::string& sql);
    // The first column of every row of `query` as text ("NULL" for null); empty on an error.
    std::vector<std::string> Column(const std::string& query);
    // The integer of the first row of `query`, -1 when there is none.
    long long Count(const std::string& query);

private:
    sqlite3* db_ = nullptr;
};

// The bytes of the database file and of its journal, write-ahead log and shared-memory file, as far
// as they exist, one after the other.
std::string DatabaseFileBytes(const std::string& path);
