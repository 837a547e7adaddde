#!/usr/bin/env bash
# Puts the pinned SQLite amalgamation into third_party/sqlite (kept out of git).
# The npm registry is the one source this network reaches; the tarball's digest is checked
# before anything of it is used, and only sqlite3.c/sqlite3.h are taken from it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dest=$top/third_party/sqlite
package=better-sqlite3@12.11.1
digest=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835

if [ -f "$dest/sqlite3.c" ] && [ "$(cat "$dest/.digest" 2>/dev/null)" = "$digest" ]; then
    exit 0
fi
command -v npm >/dev/null || { echo "fetch-sqlite: npm is missing (run scripts/setup.sh)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package" >/dev/null)
tarball=$(ls "$work"/*.tgz)
actual=$(sha256sum "$tarball" | cut -d' ' -f1)
if [ "$actual" != "$digest" ]; then
    echo "fetch-sqlite: digest mismatch for $package: $actual" >&2
    exit 1
fi
tar -xzf "$tarball" -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
mkdir -p "$dest"
cp "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" "$dest/"
echo "$digest" > "$dest/.digest"
echo "fetch-sqlite: SQLite $(grep -m1 '#define SQLITE_VERSION ' "$dest/sqlite3.h" | awk '{print $3}') in $dest"
