#!/usr/bin/env bash
# The Wine runner's setup script for the Firefox benchmark: copies $BENCH_FIREFOX (a profile made by
# bench/make_firefox.py) to the roaming "Mozilla\Firefox\Profiles\bench.default-release" of the
# throw-away prefix, named in profiles.ini as Firefox names it, and $BENCH_FIREFOX_LOCAL (its cache)
# to the same path below the local application data.
set -euo pipefail
[ -d "${WINEPREFIX:-/nonexistent}/drive_c" ] && [ -d "$BENCH_FIREFOX" ] && [ -d "$BENCH_FIREFOX_LOCAL" ]
user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
roaming="$user/AppData/Roaming/Mozilla/Firefox" local="$user/AppData/Local/Mozilla/Firefox"
mkdir -p "$roaming/Profiles/bench.default-release" "$local/Profiles/bench.default-release"
cp -a "$BENCH_FIREFOX/." "$roaming/Profiles/bench.default-release/"
cp -a "$BENCH_FIREFOX_LOCAL/." "$local/Profiles/bench.default-release/"
printf '[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n\r\n[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/bench.default-release\r\nDefault=1\r\n' \
    >"$roaming/profiles.ini"
sync
