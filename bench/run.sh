#!/usr/bin/env bash
# Benchmarks of the cleaning engine, printed as a table (never pass/fail):
#   a) shredding a file set with RemoveFile under Wine (3 passes, each flushed) against GNU
#      `shred -n 3 -u` natively, beside the time the machine's raw sequential write speed gives
#      for the same bytes (dd to a new file; overwriting allocated blocks in place can beat it);
#      target: at least 0.9 of shred's throughput;
#   b) emptying a folder of 20 000 small files with EmptyFolder against `rm -rf`;
#      target: at most 1.5 times its time;
#   c) the Firefox history cleaner on a places.sqlite of 100 000 places and 500 000 visits (10 %
#      bookmarked) under Wine against the `sqlite3` shell running the same statements (secure
#      delete on in both) natively on a copy of the same file; target: at most 1.1 times its time.
#      Needs the sqlite3 shell; skipped without it.
#   d) the Chrome cleaners of history, cookies and cache on a large profile against BleachBit
#      (bench/chromium.sh); target: faster, and no removed string left readable.
#   e) the Firefox cleaners of history, cookies, form data and cache on a large profile against
#      BleachBit (bench/firefox.sh); target: faster, no removed string readable, every bookmark kept.
# Everything happens below the Wine build folder (native sets in build/wine/bench-work, Wine sets
# in the runner's throw-away prefixes). Uses at most two cores for the build. The machine is
# shared, so every figure is the best of BENCH_REPEAT runs (default 2).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/wine
[ -f "$build/CMakeCache.txt" ] || cmake --preset wine >/dev/null
cmake --build "$build" --target zlt_engine_bench zlt_places_bench -j2 >/dev/null
exe=$build/bin/zlt_engine_bench.exe
work=$build/bench-work
rm -rf "$work"
mkdir -p "$work"

. "$top/bench/common.sh"

# Time of one run of the engine under Wine on a fresh prefix holding set $1.
wine_time_once() {
    local out
    out=$(BENCH_SET=$1 ZLT_TEST_SETUP=$top/bench/make_set.sh \
        "$top/scripts/wine-run.sh" --root "$build" "$exe" "$2" 'C:\bench' 2>/dev/null | tr -d '\r')
    local left
    left=$(sed -n 's/.*files-left \([0-9]*\).*/\1/p' <<<"$out")
    [ "$left" = 0 ] || { echo "engine left files behind: $out" >&2; exit 1; }
    sed -n 's/.*seconds \([0-9.]*\).*/\1/p' <<<"$out"
}
wine_time() {
    local times=() i t
    for ((i = 0; i < repeat; i++)); do
        t=$(wine_time_once "$@") || exit 1
        times+=("$t")
    done
    least "${times[@]}"
}

# Time of `shred -n 3 -u` over a fresh copy of set $1.
shred_time() {
    local times=() i t0 t1
    for ((i = 0; i < repeat; i++)); do
        "$top/bench/make_set.sh" "$work/$1" "$1"
        t0=$(now)
        find "$work/$1" -type f -print0 | xargs -0 shred -n 3 -u
        t1=$(now)
        times+=("$(elapsed "$t0" "$t1")")
    done
    least "${times[@]}"
}

rm_time() {
    local times=() i t0 t1
    for ((i = 0; i < repeat; i++)); do
        "$top/bench/make_set.sh" "$work/many" many
        t0=$(now)
        rm -rf "$work/many"
        t1=$(now)
        times+=("$(elapsed "$t0" "$t1")")
    done
    least "${times[@]}"
}

# Raw sequential write speed: 512 MiB written and flushed.
t0=$(now)
dd if=/dev/zero of="$work/raw" bs=1M count=512 conv=fdatasync status=none
t1=$(now)
rm -f "$work/raw"
raw_mbs=$(echo "512 * 1.048576 / $(elapsed "$t0" "$t1")" | bc -l)

declare -A bytes=([large]=$((64 * 4194304)) [small]=$((2000 * 8192)))
declare -A label=([large]="64 x 4 MiB" [small]="2000 x 8 KiB")
printf '\n%-34s %9s %9s %10s %10s %7s %9s\n' "shredding, 3 passes, each flushed" "zlt s" "shred s" "zlt MB/s" \
    "shred MB/s" "ratio" "raw s"
for set in large small; do
    shred_s=$(shred_time "$set")
    mb=$(echo "${bytes[$set]} * 3 / 1000000" | bc -l)
    for mode in shred shred-quiet; do
        zlt_s=$(wine_time "$set" "$mode")
        name="${label[$set]}"
        [ "$mode" = shred-quiet ] && name="$name, no progress window"
        printf '%-34s %9.3f %9.3f %10.1f %10.1f %7.2f %9.3f\n' "$name" "$zlt_s" "$shred_s" \
            "$(echo "$mb / $zlt_s" | bc -l)" "$(echo "$mb / $shred_s" | bc -l)" \
            "$(echo "$shred_s / $zlt_s" | bc -l)" "$(echo "$mb / $raw_mbs" | bc -l)"
    done
done
echo "ratio = zlt's throughput / shred's (target >= 0.9); raw = the 3 passes' bytes at the raw write speed"
printf 'raw sequential write: %.1f MB/s (dd, 512 MiB, fdatasync)\n' "$raw_mbs"

printf '\n%-34s %9s %9s %7s\n' "emptying a folder, 20000 x 100 B" "zlt s" "rm -rf s" "ratio"
rm_s=$(rm_time)
for mode in empty delete-loop; do
    zlt_s=$(wine_time many "$mode")
    name=$([ "$mode" = empty ] && echo "EmptyFolder" || echo "bare DeleteFileA loop (Wine floor)")
    printf '%-34s %9.3f %9.3f %7.2f\n' "$name" "$zlt_s" "$rm_s" "$(echo "$zlt_s / $rm_s" | bc -l)"
done
echo "ratio = zlt's time / rm's (target <= 1.5)"

if command -v sqlite3 >/dev/null; then
    places_exe=$build/bin/zlt_places_bench.exe
    "$top/bench/make_places.py" "$work/places.sqlite" 100000
    "$top/scripts/wine-run.sh" --root "$build" "$places_exe" statements 2>/dev/null | tr -d '\r' >"$work/statements.sql"
    shell_times=() zlt_times=()
    for ((i = 0; i < repeat; i++)); do
        cp "$work/places.sqlite" "$work/copy.sqlite"
        sync
        t0=$(now)
        sqlite3 "$work/copy.sqlite" <"$work/statements.sql" 2>/dev/null || true
        t1=$(now)
        shell_times+=("$(elapsed "$t0" "$t1")")
        rm -f "$work/copy.sqlite"*
        out=$(BENCH_PLACES=$work/places.sqlite ZLT_TEST_SETUP=$top/bench/places_setup.sh \
            "$top/scripts/wine-run.sh" --root "$build" "$places_exe" clear 2>/dev/null | tr -d '\r')
        [ "$(sed -n 's/.*visits \([0-9-]*\).*/\1/p' <<<"$out")" = 0 ] || { echo "visits left behind: $out" >&2; exit 1; }
        zlt_times+=("$(sed -n 's/.*seconds \([0-9.]*\).*/\1/p' <<<"$out")")
    done
    shell_s=$(least "${shell_times[@]}")
    zlt_s=$(least "${zlt_times[@]}")
    printf '\n%-34s %9s %9s %7s\n' "places.sqlite, 100000 places" "zlt s" "sqlite3 s" "ratio"
    printf '%-34s %9.3f %9.3f %7.2f\n' "ClearFirefoxHistory" "$zlt_s" "$shell_s" "$(echo "$zlt_s / $shell_s" | bc -l)"
    echo "ratio = zlt's time / the sqlite3 shell's on the same statements (target <= 1.1)"
else
    echo "places.sqlite benchmark skipped: no sqlite3 shell"
fi
rm -rf "$work"
"$top/bench/chromium.sh"
"$top/bench/firefox.sh"
"$top/bench/census.sh"

# The installed program (build/all): start-up and idle memory against a minimal window, and a full
# Clear All on a seeded trace set with shredding off and on.
echo
"$top/bench/startup.sh"
"$top/bench/clearall.sh"
