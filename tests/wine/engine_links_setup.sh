#!/bin/sh
# A folder to be cleaned that holds a Unix symlink to a canary folder beside it. Wine shows the
# link as a folder with FILE_ATTRIBUTE_REPARSE_POINT. Both ends lie inside this test's prefix and
# the link is relative, so nothing outside the prefix can be reached through it.
set -eu
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ]
top="$WINEPREFIX/drive_c/zlt-links"
mkdir -p "$top/target/sub" "$top/canary/inner"
echo keep >"$top/canary/keep.txt"
echo keep >"$top/canary/keep.dat"
echo keep >"$top/canary/87654321.s"
echo keep >"$top/canary/inner/deep.txt"
ln -s ../canary "$top/target/link"
