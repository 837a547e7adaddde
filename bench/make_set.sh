#!/usr/bin/env bash
# Makes one benchmark file set in folder $1 and flushes it to disk:
#   large  64 files of 4 MiB       small  2 000 files of 8 KiB       many  20 000 files of 100 bytes
# Used natively by run.sh and, with BENCH_SET set, as the Wine runner's setup script (the folder
# is then C:\bench of the throw-away prefix).
set -euo pipefail
set_name=${BENCH_SET:-$2}
dir=${1:-$WINEPREFIX/drive_c/bench}
[ $# -ge 1 ] || [ -d "${WINEPREFIX:-/nonexistent}/drive_c" ]
rm -rf "$dir"
mkdir -p "$dir"
case $set_name in
large) head -c $((64 * 4194304)) /dev/urandom | split -b 4194304 -a 2 -d - "$dir/large" ;;
small) head -c $((2000 * 8192)) /dev/urandom | split -b 8192 -a 4 -d - "$dir/small" ;;
many) head -c $((20000 * 100)) /dev/urandom | split -b 100 -a 5 -d - "$dir/many" ;;
*) echo "unknown set $set_name" >&2; exit 2 ;;
esac
sync
