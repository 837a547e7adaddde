#!/usr/bin/env bash
# The running-program census under Wine, with 100 top-level windows of ten stand-in programs open:
# CPU time of the program and wall time per census, and per browser-watch tick (ten visible-window
# censuses and one of all windows). Target: at most 5 ms of CPU per census. Never pass/fail; each figure is the best of five batches.
# BENCH_BUILD names the Wine build folder (default build/all/wine, made by scripts/build.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD:-$top/build/all/wine}
[ -f "$build/CMakeCache.txt" ] || { echo "no build in $build: run scripts/build.sh" >&2; exit 1; }
cmake --build "$build" --target zlt_census_bench zlt_standin -j2 >/dev/null
out=$(ZLT_TEST_FILES=$build/bin/zlt_standin.exe "$top/scripts/wine-run.sh" --root "$build" \
    "$build/bin/zlt_census_bench.exe" 2>/dev/null | tr -d '\r')
printf '\n%-34s %9s %9s %9s\n' "window census, 100 stand-in windows" "windows" "cpu ms" "wall ms"
sed -n 's/^\(.*\) windows \([0-9]*\) cpu-ms \([0-9.]*\) wall-ms \([0-9.]*\)$/\1|\2|\3|\4/p' <<<"$out" |
    while IFS='|' read -r name windows cpu wall; do
        printf '%-34s %9s %9s %9s\n' "$name" "$windows" "$cpu" "$wall"
    done
echo "cpu = this program's CPU time per census (target <= 5 ms); wall also holds the wineserver's share"
echo "bare walk = the visible windows' visibility, title and process asked bare, each program's name once"
figure() { sed -n "s/^$1 windows [0-9]* cpu-ms \([0-9.]*\) wall-ms \([0-9.]*\)\$/\1 \2/p" <<<"$out"; }
. "$top/bench/common.sh"
read -r census_cpu census_wall <<<"$(figure 'census visible')"
read -r bare_cpu bare_wall <<<"$(figure 'bare walk')"
summary "census of the visible windows (100 windows, 10 programs)" "$census_cpu ms CPU ($census_wall ms wall)" \
    "bare walk $bare_cpu ms CPU ($bare_wall ms wall)" \
    "$(printf '%.2f of bare (wall)' "$(echo "$census_wall / $bare_wall" | bc -l)")" "<= 5 ms CPU"
