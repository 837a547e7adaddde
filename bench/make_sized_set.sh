#!/usr/bin/env bash
# Makes files f0, f1, ... of the sizes listed one per line in $BENCH_SIZES, in folder $1, and
# flushes them to disk. Used natively by clearall.sh and, without $1, as the Wine runner's setup
# script (the folder is then C:\bench of the throw-away prefix).
set -euo pipefail
dir=${1:-${WINEPREFIX:?}/drive_c/bench}
rm -rf "$dir"
mkdir -p "$dir"
python3 - "$dir" "$BENCH_SIZES" <<'PY'
import sys
folder, sizes = sys.argv[1], sys.argv[2]
with open(sizes) as listed:
    for n, line in enumerate(l for l in listed if l.strip()):
        with open(f"{folder}/f{n}", "wb") as f:
            f.write(b"x" * int(line))
PY
sync
