#!/usr/bin/env bash
# The Wine runner's setup script for the Firefox history benchmark: copies $BENCH_PLACES into a
# profile of the throw-away prefix's roaming application-data folder.
set -euo pipefail
[ -d "${WINEPREFIX:-/nonexistent}/drive_c" ] && [ -f "$BENCH_PLACES" ]
user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
profile="$user/AppData/Roaming/Mozilla/Firefox/Profiles/bench.default"
mkdir -p "$profile"
cp "$BENCH_PLACES" "$profile/places.sqlite"
sync
