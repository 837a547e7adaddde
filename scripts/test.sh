#!/usr/bin/env bash
# Builds everything and runs every test (native, fuzz and Wine) through one ctest.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/build.sh"
ctest --preset all -j1 "$@"
