#!/usr/bin/env bash
# The Firefox cleaners of history, cookies, form data and cache on a large profile (100 000 places,
# 500 000 visits, 20 000 cookies, 5 000 form entries, 10 000 cache files of a browser cache's sizes;
# bench/make_firefox.py) under Wine, against BleachBit (Debian's `bleachbit`) run natively on the
# same profile copied to its Linux place under a throw-away HOME. Prints the times, how many of the
# profile's removed strings each tool left readable in any byte, and how many of the bookmarks'
# strings (which both must keep) are still there. BleachBit's time is its whole run less its
# start-up (the same command on an empty HOME); the program's is measured inside its process,
# without Wine's start-up. Never pass/fail. Skipped without bleachbit.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_WINE_BUILD:-$top/build/all/wine}
command -v bleachbit >/dev/null || { echo "Firefox benchmark skipped: no bleachbit (apt-get install bleachbit)"; exit 0; }
[ -f "$build/CMakeCache.txt" ] || { echo "no build in $build: run scripts/build.sh" >&2; exit 1; }
cmake --build "$build" --target zlt_firefox_bench -j2 >/dev/null
work=$build/bench-firefox
rm -rf "$work"
mkdir -p "$work"
. "$top/bench/common.sh"
count() { grep -raoh "$1[0-9]\{6\}" "${@:2}" | sort -u | wc -l; }

"$top/bench/make_firefox.py" "$work/profile" "$work/local" >"$work/made"
keepers=$(sed -n 's/.*keepers \([0-9]*\).*/\1/p' "$work/made")

# BleachBit on a copy in ~/.mozilla/firefox/bench.default-release and its cache in ~/.cache/mozilla.
bleachbit_run() {
    env -i PATH="$PATH" HOME="$1" bleachbit --clean firefox.url_history firefox.cookies firefox.forms \
        firefox.cache >/dev/null 2>&1 || true
}
bb_times=() floor_times=() bb_left= bb_kept=
for ((i = 0; i < repeat; i++)); do
    home=$work/home
    rm -rf "$home" "$work/empty"
    mkdir -p "$home/.mozilla/firefox" "$home/.cache/mozilla/firefox" "$work/empty"
    cp -a "$work/profile" "$home/.mozilla/firefox/bench.default-release"
    cp -a "$work/local" "$home/.cache/mozilla/firefox/bench.default-release"
    printf '[Profile0]\nName=default-release\nIsRelative=1\nPath=bench.default-release\nDefault=1\n' \
        >"$home/.mozilla/firefox/profiles.ini"
    sync
    t0=$(now)
    bleachbit_run "$home"
    t1=$(now)
    bleachbit_run "$work/empty"
    t2=$(now)
    bb_times+=("$(elapsed "$t0" "$t1")")
    floor_times+=("$(elapsed "$t1" "$t2")")
    bb_left=$(count zltmark "$home/.mozilla" "$home/.cache")
    bb_kept=$(count zltkeep "$home/.mozilla" "$home/.cache")
done
bb_s=$(least "${bb_times[@]}")
floor_s=$(least "${floor_times[@]}")

zlt_times=() zlt_left= zlt_kept=
for ((i = 0; i < repeat; i++)); do
    out=$(BENCH_FIREFOX=$work/profile BENCH_FIREFOX_LOCAL=$work/local ZLT_TEST_SETUP=$top/bench/firefox_setup.sh \
        "$top/scripts/wine-run.sh" --root "$build" "$build/bin/zlt_firefox_bench.exe" 2>/dev/null | tr -d '\r')
    zlt_times+=("$(sed -n 's/.*seconds \([0-9.]*\).*/\1/p' <<<"$out")")
    zlt_left=$(sed -n 's/.*readable \([0-9]*\).*/\1/p' <<<"$out")
    zlt_kept=$(sed -n 's/.*kept \([0-9]*\).*/\1/p' <<<"$out")
done
zlt_s=$(least "${zlt_times[@]}")
bb_net=$(echo "$bb_s - $floor_s" | bc -l)

printf '\n%-44s %9s %12s %7s %10s %10s %10s %10s\n' "Firefox history, cookies, forms, cache" \
    "zlt s" "bleachbit s" "ratio" "zlt left" "bb left" "zlt kept" "bb kept"
printf '%-44s %9.3f %12.3f %7.2f %10s %10s %10s %10s\n' "100000 places, 500000 visits, 20000 cookies" "$zlt_s" \
    "$bb_net" "$(echo "$zlt_s / $bb_net" | bc -l)" "$zlt_left" "$bb_left" "$zlt_kept/$keepers" "$bb_kept/$keepers"
printf 'bleachbit: %.3f s whole run, %.3f s of it start-up (the same command with nothing to clean)\n' "$bb_s" "$floor_s"
echo "ratio = zlt's time / bleachbit's (target < 1); left = removed strings still readable (target 0);"
echo "kept = the bookmarks' strings still there (target: all)"
rm -rf "$work"
