#!/usr/bin/env python3
"""Writes a large Firefox profile for the Firefox benchmark: "places.sqlite" in Firefox's current
layout (the schema of tests/wine/places_fixture.cpp) with PLACES places and five visits each (every
tenth bookmarked, every hundredth a download with its annotation, every fiftieth typed into the
address bar), "cookies.sqlite" with COOKIES cookies, "formhistory.sqlite" with FORMS entries, and
CACHE files of a browser cache's sizes in the local profile's "cache2/entries". Firefox's SQLite
writes with secure delete on and a write-ahead log.

Every removed string (URL, title, address-bar input, download, cookie, form entry, cached page)
carries a marker "zltmark" + six digits that occurs nowhere else; what must stay (the bookmarked
pages, their titles) carries "zltkeep" + six digits instead, so that both what a cleaner leaves
readable and what it wrongly removes can be counted.

usage: make_firefox.py PROFILE_FOLDER LOCAL_FOLDER [PLACES COOKIES CACHE FORMS]"""
import os
import random
import re
import shutil
import sqlite3
import sys

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
with open(os.path.join(top, "tests/wine/places_fixture.cpp"), encoding="utf-8") as f:
    places_schema = re.search(r'kCurrentSchema\[\] = R"sql\((.*?)\)sql"', f.read(), re.S).group(1)

profile, local = sys.argv[1], sys.argv[2]
places = int(sys.argv[3]) if len(sys.argv) > 3 else 100000
cookies = int(sys.argv[4]) if len(sys.argv) > 4 else 20000
files = int(sys.argv[5]) if len(sys.argv) > 5 else 10000
forms = int(sys.argv[6]) if len(sys.argv) > 6 else 5000
for folder in (profile, local):
    shutil.rmtree(folder, ignore_errors=True)
os.makedirs(profile)
os.makedirs(os.path.join(local, "cache2", "entries"))
marker, keeper = iter(range(1, 10**6)), iter(range(1, 10**6))


def mark():
    return "zltmark%06d" % next(marker)


def keep():
    return "zltkeep%06d" % next(keeper)


def database(name, schema):
    db = sqlite3.connect(os.path.join(profile, name), isolation_level=None)
    db.execute("PRAGMA secure_delete=ON")
    db.executescript(schema)
    db.execute("BEGIN")
    return db


def close(db):
    db.execute("COMMIT")
    db.execute("PRAGMA wal_checkpoint(TRUNCATE)")
    db.close()


db = database("places.sqlite", places_schema)
db.execute("INSERT INTO moz_anno_attributes VALUES (1, 'downloads/destinationFileURI'),"
           " (2, 'downloads/metaData')")
db.execute("INSERT INTO moz_bookmarks (id, type, parent, position, title, guid) VALUES"
           " (1, 2, 0, 0, '', 'root________'), (2, 2, 1, 0, 'menu', 'menu________')")
for n in range(1, places + 1):
    bookmarked = n % 10 == 0
    tag = keep if bookmarked else mark
    host = "site-%06d.example" % n
    db.execute("INSERT INTO moz_origins (id, prefix, host, frecency) VALUES (?, 'https://', ?, 100)", (n, host))
    db.execute("INSERT INTO moz_places (id, url, title, rev_host, visit_count, frecency, last_visit_date, guid,"
               " url_hash, origin_id, foreign_count) VALUES (?, ?, ?, ?, 5, 100, ?, ?, ?, ?, ?)",
               (n, "https://%s/%s/page" % (host, tag()), "Page %s of a benchmark" % tag(), host[::-1] + ".",
                1700000000000000 + n, "g%011d" % n, n * 7919, n, 1 if bookmarked else 0))
    db.executemany("INSERT INTO moz_historyvisits (place_id, from_visit, visit_date, visit_type, session)"
                   " VALUES (?, 0, ?, 1, 0)", [(n, 1700000000000000 + n * 10 + v) for v in range(5)])
    if bookmarked:
        db.execute("INSERT INTO moz_bookmarks (type, fk, parent, position, title, dateAdded, guid)"
                   " VALUES (1, ?, 2, ?, ?, 1, ?)", (n, n, "Bookmark %s" % keep(), "b%011d" % n))
    if n % 50 == 0:
        db.execute("INSERT INTO moz_inputhistory VALUES (?, ?, 1)", (n, "typed %s" % mark()))
    if n % 100 == 1:
        db.execute("INSERT INTO moz_annos (place_id, anno_attribute_id, content, type) VALUES (?, 1, ?, 3)",
                   (n, "file:///C:/Users/me/Downloads/%s.zip" % mark()))
close(db)

db = database("cookies.sqlite", """
PRAGMA journal_mode=WAL;
CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT,
  value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER,
  isSecure INTEGER, isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0,
  rawSameSite INTEGER DEFAULT 0, schemeMap INTEGER DEFAULT 0, isPartitionedAttributeSet INTEGER DEFAULT 0,
  CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes));
PRAGMA user_version=15;
""")
for n in range(1, cookies + 1):
    db.execute("INSERT INTO moz_cookies (name, value, host, path, expiry, lastAccessed, creationTime, isSecure,"
               " isHttpOnly) VALUES (?, ?, ?, '/', 1900000000, 1700000000000000, 1700000000000000, 1, 1)",
               ("id%d" % n, mark(), ".tracker-%05d.example" % n))
close(db)

db = database("formhistory.sqlite", """
PRAGMA journal_mode=WAL;
CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, fieldname TEXT NOT NULL, value TEXT NOT NULL,
  timesUsed INTEGER, firstUsed INTEGER, lastUsed INTEGER, guid TEXT);
CREATE TABLE moz_deleted_formhistory (id INTEGER PRIMARY KEY, timeDeleted INTEGER, guid TEXT);
CREATE INDEX moz_formhistory_index ON moz_formhistory (fieldname);
PRAGMA user_version=5;
""")
for n in range(1, forms + 1):
    db.execute("INSERT INTO moz_formhistory (fieldname, value, timesUsed, firstUsed, lastUsed, guid)"
               " VALUES ('searchbar-history', ?, 1, 1700000000000000, 1700000000000000, ?)",
               ("query %s" % mark(), "f%011d" % n))
close(db)

# Sizes as a browser cache has them: mostly small entries, some pages and scripts, a few images.
rng = random.Random(28)
total = 0
for n in range(files):
    roll = rng.random()
    size = rng.randint(256, 8192) if roll < 0.7 else rng.randint(8192, 65536) if roll < 0.95 else rng.randint(65536, 262144)
    head = (":https://cdn-%05d.example/%s.js\n" % (n, mark())).encode()
    with open(os.path.join(local, "cache2", "entries", "%040X" % (0x5A1B2C3D4E5F0000 + n)), "wb") as f:
        f.write(head + b"\xa5" * max(0, size - len(head)))
    total += size
with open(os.path.join(profile, "prefs.js"), "w") as f:
    f.write('user_pref("browser.startup.homepage", "https://www.example.org/");\n')
print("markers %d keepers %d cache-bytes %d" % (next(marker) - 1, next(keeper) - 1, total))
