#pragma once
// Chromium's "Local Storage\leveldb": the local storage of every origin in one LevelDB database.
#include <string>

#include "engine/cookie_keep_list.h"

class HistoryCleaner;

// The web sites' keys of the database in `folder` go, but for the sites `keep` keeps; an
// extension's and the database's own stay. Through Google's leveldb, never by editing its files:
// only when no other process holds the database (its LOCK file), counted first on a copy in
// memory so that a database with nothing to remove is not opened for writing at all, and then
// compacted whole so that no table or log keeps what went. The files leveldb lets go of are
// removed by RemoveFile (shredded when shredding is on). A preview counts on the copy only.
void CleanChromiumLocalStorage(HistoryCleaner& cleaner, const std::string& folder, const CookieKeepList& keep);
