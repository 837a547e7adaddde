#!/usr/bin/env bash
# The Chrome cleaners of history, cookies and cache on a large profile (100 000 urls, 500 000
# visits, 20 000 cookies, 10 000 cache files of a browser cache's sizes; bench/make_chromium.py)
# under Wine, against BleachBit (Debian's `bleachbit`) run natively on the same profile copied to
# its Linux place under a throw-away HOME. Prints the times and how many of the profile's removed
# strings (each URL, title, download, cookie and cached page carries a marker) each tool left
# readable in any byte. BleachBit's time is its whole run less its start-up (the same command on
# an empty HOME); the program's is measured inside its process, without Wine's start-up.
# Never pass/fail. Skipped without bleachbit.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_WINE_BUILD:-$top/build/all/wine}
command -v bleachbit >/dev/null || { echo "Chromium benchmark skipped: no bleachbit (apt-get install bleachbit)"; exit 0; }
[ -f "$build/CMakeCache.txt" ] || { echo "no build in $build: run scripts/build.sh" >&2; exit 1; }
cmake --build "$build" --target zlt_chromium_bench -j2 >/dev/null
work=$build/bench-chromium
rm -rf "$work"
mkdir -p "$work"
. "$top/bench/common.sh"

"$top/bench/make_chromium.py" "$work/profile" "$work/cache" >"$work/made"

# BleachBit on a copy in ~/.config/google-chrome/Default and ~/.cache/google-chrome/Default.
bleachbit_run() {
    env -i PATH="$PATH" HOME="$1" bleachbit --clean google_chrome.history google_chrome.cookies \
        google_chrome.cache >/dev/null 2>&1 || true
}
bb_times=() floor_times=() bb_left=
for ((i = 0; i < repeat; i++)); do
    home=$work/home
    rm -rf "$home" "$work/empty"
    mkdir -p "$home/.config/google-chrome" "$home/.cache/google-chrome" "$work/empty"
    cp -a "$work/profile" "$home/.config/google-chrome/Default"
    cp -a "$work/cache" "$home/.cache/google-chrome/Default"
    sync
    t0=$(now)
    bleachbit_run "$home"
    t1=$(now)
    bleachbit_run "$work/empty"
    t2=$(now)
    bb_times+=("$(elapsed "$t0" "$t1")")
    floor_times+=("$(elapsed "$t1" "$t2")")
    bb_left=$(grep -raoh 'zltmark[0-9]\{6\}' "$home/.config/google-chrome" "$home/.cache/google-chrome" |
        sort -u | wc -l)
done
bb_s=$(least "${bb_times[@]}")
floor_s=$(least "${floor_times[@]}")

# The program with shredding off and on, and the bare Wine programs on the same files: a DeleteFileA
# loop, and one open, three flushed passes of the same writes and a DeleteFileA per file.
declare -A secs left
for mode in off shred bare bare-shred; do
    times=()
    for ((i = 0; i < repeat; i++)); do
        arg=$mode
        [ "$mode" = off ] && arg=
        out=$(BENCH_CHROME=$work/profile BENCH_CHROME_CACHE=$work/cache ZLT_TEST_SETUP=$top/bench/chromium_setup.sh \
            "$top/scripts/wine-run.sh" --root "$build" "$build/bin/zlt_chromium_bench.exe" $arg 2>/dev/null | tr -d '\r')
        times+=("$(sed -n 's/.*seconds \([0-9.]*\).*/\1/p' <<<"$out")")
        left[$mode]=$(sed -n 's/.*readable \([0-9]*\).*/\1/p' <<<"$out")
    done
    secs[$mode]=$(least "${times[@]}")
done
bb_net=$(echo "$bb_s - $floor_s" | bc -l)
ratio() { echo "$1 / $2" | bc -l; }

printf '\n%-44s %9s %12s %7s %10s %10s\n' "Chrome history, cookies, cache ($(sed 's/ cache-bytes.*//' "$work/made"))" \
    "zlt s" "bleachbit s" "ratio" "zlt left" "bb left"
printf '%-44s %9.3f %12.3f %7.2f %10s %10s\n' "100000 urls, 500000 visits, 20000 cookies" "${secs[off]}" "$bb_net" \
    "$(ratio "${secs[off]}" "$bb_net")" "${left[off]}" "$bb_left"
printf 'bleachbit: %.3f s whole run, %.3f s of it start-up (the same command with nothing to clean)\n' "$bb_s" "$floor_s"
echo "ratio = zlt's time / bleachbit's (target < 1); left = removed strings still readable (target 0)"
printf '\n%-44s %9s %12s %7s %10s\n' "the same under Wine against bare programs" "zlt s" "bare s" "ratio" "zlt left"
printf '%-44s %9.3f %12.3f %7.2f %10s\n' "shredding off / DeleteFileA loop" "${secs[off]}" "${secs[bare]}" \
    "$(ratio "${secs[off]}" "${secs[bare]}")" "${left[off]}"
printf '%-44s %9.3f %12.3f %7.2f %10s\n' "shredding on / 3 flushed passes, DeleteFileA" "${secs[shred]}" \
    "${secs[bare-shred]}" "$(ratio "${secs[shred]}" "${secs[bare-shred]}")" "${left[shred]}"
echo "bare = a bare Wine program on the files the cleaners remove whole (the cache and History), nothing checked or"
echo "recorded; the cleaners also clean Cookies with SQL, which the bare programs do not (target <= 1.1 with shredding)"
summary "Chrome profile, shredding off (vs BleachBit native)" "$(printf '%.2f s, %s readable' "${secs[off]}" "${left[off]}")" \
    "$(printf 'BleachBit %.2f s, %s readable; bare Wine delete %.2f s' "$bb_net" "$bb_left" "${secs[bare]}")" \
    "$(printf '%.2f (bare %.2f)' "$(ratio "${secs[off]}" "$bb_net")" "$(ratio "${secs[off]}" "${secs[bare]}")")" "< 1, 0 readable"
summary "Chrome profile, shredding on (vs bare 3-pass program)" "$(printf '%.2f s, %s readable' "${secs[shred]}" "${left[shred]}")" \
    "$(printf 'bare Wine 3 passes %.2f s' "${secs[bare-shred]}")" "$(printf '%.2f' "$(ratio "${secs[shred]}" "${secs[bare-shred]}")")" "<= 1.1"
rm -rf "$work"
