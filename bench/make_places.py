#!/usr/bin/env python3
"""Writes a places.sqlite in Firefox's current layout (the schema of tests/wine/places_fixture.cpp)
for the Firefox history benchmark: PLACES places, five visits each, every tenth bookmarked, with
secure delete on as Firefox's SQLite writes.

usage: make_places.py OUT.sqlite [PLACES]"""
import os
import re
import sqlite3
import sys

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
with open(os.path.join(top, "tests/wine/places_fixture.cpp"), encoding="utf-8") as f:
    schema = re.search(r'kCurrentSchema\[\] = R"sql\((.*?)\)sql"', f.read(), re.S).group(1)

out = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
for suffix in ("", "-wal", "-shm", "-journal"):
    if os.path.exists(out + suffix):
        os.remove(out + suffix)
db = sqlite3.connect(out, isolation_level=None)
db.execute("PRAGMA secure_delete=ON")
db.executescript(schema)
db.execute("BEGIN")
for n in range(1, count + 1):
    host = "site-%06d.example" % n
    url = "https://%s/page/%06d?ref=bench" % (host, n)
    db.execute("INSERT INTO moz_origins (id, prefix, host, frecency) VALUES (?, 'https://', ?, 100)", (n, host))
    db.execute("INSERT INTO moz_places (id, url, title, rev_host, visit_count, frecency, last_visit_date, guid,"
               " url_hash, origin_id) VALUES (?, ?, ?, ?, 5, 100, ?, ?, ?, ?)",
               (n, url, "Page %06d of a benchmark" % n, host[::-1] + ".", 1700000000000000 + n,
                "g%011d" % n, n * 7919, n))
    db.executemany("INSERT INTO moz_historyvisits (place_id, from_visit, visit_date, visit_type, session)"
                   " VALUES (?, 0, ?, 1, 0)", [(n, 1700000000000000 + n * 10 + v) for v in range(5)])
    if n % 10 == 0:
        db.execute("INSERT INTO moz_bookmarks (type, fk, parent, position, title, dateAdded, guid)"
                   " VALUES (1, ?, 2, ?, ?, 1, ?)", (n, n, "Bookmark %06d" % n, "b%011d" % n))
db.execute("COMMIT")
db.execute("PRAGMA wal_checkpoint(TRUNCATE)")
db.close()
