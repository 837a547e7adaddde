#!/bin/sh
# Reads a shredded file back after the program has removed it, as only a process outside Wine can:
# Wine's sharing rules do not reach a Unix descriptor, so the shredder still gets the file to itself,
# and the descriptor keeps the file's blocks readable after its last name has gone. A watcher in the
# background waits for the test to write the cached page, opens it, says so with "held.ready" beside
# the test program, waits for the name to go and then copies what the blocks hold to
# "held-after.bin". It gives up after five minutes at each wait, and touches nothing outside the
# prefix.
set -eu
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c/zlt-test" ]
dest="$WINEPREFIX/drive_c/zlt-test"
for home in "$WINEPREFIX"/drive_c/users/*; do
    [ "$(basename "$home")" = Public ] || break
done
file="$home/AppData/Local/Mozilla/Firefox/Profiles/q1w2e3r4.default/Cache/_CACHE_002_"
(
    i=0
    while [ ! -s "$file" ] && [ $i -lt 3000 ]; do sleep 0.1; i=$((i + 1)); done
    [ -s "$file" ] || exit 0
    exec 3<"$file"
    : >"$dest/held.ready"
    i=0
    while [ -e "$file" ] && [ $i -lt 3000 ]; do sleep 0.1; i=$((i + 1)); done
    cat <&3 >"$dest/held-after.tmp" && mv "$dest/held-after.tmp" "$dest/held-after.bin"
) </dev/null >/dev/null 2>&1 &
