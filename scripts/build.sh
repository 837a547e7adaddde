#!/usr/bin/env bash
# Configures and builds the three builds (native, wine, product) in build/all.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/setup.sh"
[ -f build/all/CMakeCache.txt ] || cmake --preset all
cmake --build --preset all
# Editors and clang tools find every source, Windows ones included, through this link.
ln -sfn build/all/wine/compile_commands.json compile_commands.json
