#!/usr/bin/env bash
# The Wine runner's setup script for the Chromium benchmark: copies $BENCH_CHROME (a profile made
# by bench/make_chromium.py) and its cache ($BENCH_CHROME_CACHE) into Chrome's "User Data\Default"
# of the throw-away prefix, where Chrome keeps both on Windows.
set -euo pipefail
[ -d "${WINEPREFIX:-/nonexistent}/drive_c" ] && [ -d "$BENCH_CHROME" ] && [ -d "$BENCH_CHROME_CACHE" ]
user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
profile="$user/AppData/Local/Google/Chrome/User Data/Default"
mkdir -p "$profile"
cp -a "$BENCH_CHROME/." "$profile/"
cp -a "$BENCH_CHROME_CACHE/." "$profile/"
printf '{"profile":{"info_cache":{"Default":{"name":"Person 1"}}}}' >"$profile/../Local State"
sync
