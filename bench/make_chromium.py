#!/usr/bin/env python3
"""Writes a large Chrome profile for the Chromium benchmark, in the schemas of the tests
(tests/wine/engine_chromium_test.cpp, tests/native/cookie_schemas.h): "History" with URLS urls and five visits each (a download for
every hundredth), "Network/Cookies" with COOKIES cookies, and CACHE files of a browser cache's
sizes in "Cache/Cache_Data" (most of a few kilobytes, some of tens, a few of hundreds). Every URL,
title, cookie and cached page carries a marker "zltmark" + six digits that occurs nowhere else, so
that what a cleaner leaves readable can be counted.

usage: make_chromium.py PROFILE_FOLDER CACHE_FOLDER [URLS COOKIES CACHE]"""
import os
import random
import re
import shutil
import sqlite3
import sys

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def schema(path, name):
    with open(os.path.join(top, path), encoding="utf-8") as f:
        return re.search(name + r'\[\] = R"sql\((.*?)\)sql"', f.read(), re.S).group(1)


schemas = {"kHistorySchema": schema("tests/wine/engine_chromium_test.cpp", "kHistorySchema"),
           "kCookiesSchema": schema("tests/native/cookie_schemas.h", "kChromiumCookiesSchema")}

profile, cache = sys.argv[1], sys.argv[2]
urls = int(sys.argv[3]) if len(sys.argv) > 3 else 100000
cookies = int(sys.argv[4]) if len(sys.argv) > 4 else 20000
files = int(sys.argv[5]) if len(sys.argv) > 5 else 10000
for folder in (profile, cache):
    shutil.rmtree(folder, ignore_errors=True)
os.makedirs(os.path.join(profile, "Network"))
os.makedirs(os.path.join(cache, "Cache", "Cache_Data"))
marker = iter(range(1, 10**6))


def mark():
    return "zltmark%06d" % next(marker)


# Chrome keeps a rollback journal; its SQLite does not zero what it deletes.
db = sqlite3.connect(os.path.join(profile, "History"), isolation_level=None)
db.execute("PRAGMA secure_delete=OFF")
db.executescript(schemas["kHistorySchema"])
db.execute("INSERT INTO meta VALUES ('mmap_status', '-1'), ('version', '69'), ('last_compatible_version', '16')")
db.execute("BEGIN")
for n in range(1, urls + 1):
    db.execute("INSERT INTO urls VALUES (?, ?, ?, 5, 1, ?, 0)",
               (n, "https://site-%06d.example/%s/page?ref=bench" % (n, mark()), "Page %s of a benchmark" % mark(),
                13300000000000000 + n))
    db.executemany("INSERT INTO visits (url, visit_time, transition) VALUES (?, ?, 805306368)",
                   [(n, 13300000000000000 + n * 10 + v) for v in range(5)])
    if n % 100 == 0:
        db.execute("INSERT INTO downloads VALUES (?, 'guid', ?, ?, 1, 10, 10, 1, 0, 0, x'', 2, 0, 0, 0, '', '', '',"
                   " '', '', 'GET', '', '', '', '', '', 'application/zip', '')",
                   (n, "C:\\Users\\me\\Downloads\\%s.zip" % mark(), "C:\\Users\\me\\Downloads\\%s.zip" % mark()))
        db.execute("INSERT INTO downloads_url_chains VALUES (?, 0, ?)", (n, "https://files.example/%s.zip" % mark()))
db.execute("COMMIT")
db.close()

db = sqlite3.connect(os.path.join(profile, "Network", "Cookies"), isolation_level=None)
db.execute("PRAGMA secure_delete=OFF")
db.executescript(schemas["kCookiesSchema"])
db.execute("INSERT INTO meta VALUES ('mmap_status', '-1')")  # the version rows come with the schema
db.execute("BEGIN")
for n in range(1, cookies + 1):
    db.execute("INSERT INTO cookies VALUES (?, ?, '', ?, ?, x'', '/', 2, 1, 1, 1, 1, 1, 1, 0, 2, 443, 1, 0, 0)",
               (13300000000000000 + n, ".tracker-%05d.example" % n, "id%d" % n, mark()))
db.execute("COMMIT")
db.close()

# Sizes as a browser cache has them: mostly small entries, some pages and scripts, a few images.
rng = random.Random(27)
total = 0
with open(os.path.join(cache, "Cache", "Cache_Data", "index"), "wb") as f:
    f.write(b"\0" * 262144)
for n in range(files):
    roll = rng.random()
    size = rng.randint(256, 8192) if roll < 0.7 else rng.randint(8192, 65536) if roll < 0.95 else rng.randint(65536, 262144)
    head = ("https://cdn-%05d.example/%s.js\n" % (n, mark())).encode()
    with open(os.path.join(cache, "Cache", "Cache_Data", "%016x_0" % (0x5a1b2c3d4e5f0000 + n)), "wb") as f:
        f.write(head + b"\xa5" * max(0, size - len(head)))
    total += size
with open(os.path.join(profile, "Preferences"), "w") as f:
    f.write('{"homepage":"https://www.example.org/","profile":{"name":"Person 1"}}')
print("markers %d cache-bytes %d" % (next(marker) - 1, total))
