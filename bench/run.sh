#!/usr/bin/env bash
# Benchmarks of the cleaning engine, printed as a table (never pass/fail):
#   a) shredding a file set with RemoveFile under Wine (3 passes, each flushed) against GNU
#      `shred -n 3 -u` natively, beside the time the machine's raw sequential write speed gives
#      for the same bytes (dd to a new file; overwriting allocated blocks in place can beat it);
#      target: at least 0.9 of shred's throughput;
#   b) emptying a folder of 20 000 small files with EmptyFolder against a bare DeleteFileA loop
#      under the same Wine (target: at most 1.05 times its time) and `rm -rf`;
#   c) the Firefox history cleaner on a places.sqlite of 100 000 places and 500 000 visits (10 %
#      bookmarked) under Wine against a bare Wine program running the same SQL through the same
#      sqlite3.dll (Wine's floor for it; target: at most 1.05 times its time), with what two of
#      SQLite's own settings buy that program, and against the `sqlite3` shell running the same SQL
#      natively on a copy of the same file. Needs the sqlite3 shell; skipped without it.
#   d) the Chrome cleaners of history, cookies and cache on a large profile against BleachBit
#      (bench/chromium.sh); target: faster, and no removed string left readable.
#      and with shredding on against a bare Wine program making the same passes;
#   e) the Firefox cleaners of history, cookies, form data and cache on a large profile against
#      BleachBit (bench/firefox.sh); target: faster, no removed string readable, every bookmark kept;
#   f) the census, start-up and memory, a full Clear All, and the exit (bench/census.sh,
#      startup.sh, clearall.sh, exit.sh).
# At the end one table gathers the rows that have targets, each with its references.
# Everything happens below the Wine build folder of scripts/build.sh, build/all/wine (native sets
# in its bench-work, Wine sets in the runner's throw-away prefixes). Uses at most two cores for the
# build. The machine is shared, so every figure is the best of BENCH_REPEAT runs (default 2).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_WINE_BUILD:-$top/build/all/wine}
[ -f "$build/CMakeCache.txt" ] || { echo "no build in $build: run scripts/build.sh" >&2; exit 1; }
cmake --build "$build" --target zlt_engine_bench zlt_places_bench -j2 >/dev/null
export BENCH_WINE_BUILD=$build BENCH_BUILD=$build
export BENCH_SUMMARY=$build/bench-summary.tsv
rm -f "$BENCH_SUMMARY"
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
    local left files
    left=$(sed -n 's/.*files-left \([0-9]*\).*/\1/p' <<<"$out")
    files=$(sed -n 's/^files \([0-9]*\).*/\1/p' <<<"$out")
    # A preview, and what it must ask, remove nothing; everything else leaves nothing.
    case $2 in
    preview | look-loop | search) [ -n "$left" ] && [ "$left" = "$files" ] || { echo "$2 removed files: $out" >&2; exit 1; } ;;
    *) [ "$left" = 0 ] || { echo "engine left files behind: $out" >&2; exit 1; } ;;
    esac
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
    declare -A set_s=()
    for mode in shred shred-quiet bare-shred; do
        zlt_s=$(wine_time "$set" "$mode")
        set_s[$mode]=$zlt_s
        name="${label[$set]}"
        [ "$mode" = shred-quiet ] && name="$name, no progress window"
        [ "$mode" = bare-shred ] && name="  bare Wine program, same passes"
        printf '%-34s %9.3f %9.3f %10.1f %10.1f %7.2f %9.3f\n' "$name" "$zlt_s" "$shred_s" \
            "$(echo "$mb / $zlt_s" | bc -l)" "$(echo "$mb / $shred_s" | bc -l)" \
            "$(echo "$shred_s / $zlt_s" | bc -l)" "$(echo "$mb / $raw_mbs" | bc -l)"
    done
    summary "shredding ${label[$set]}" "$(printf '%.2f s' "${set_s[shred]}")" \
        "$(printf '`shred` %.2f s; bare Wine program, same passes, %.2f s' "$shred_s" "${set_s[bare-shred]}")" \
        "$(printf '%.2f (throughput; %.2f of bare)' "$(echo "$shred_s / ${set_s[shred]}" | bc -l)" "$(echo "${set_s[shred]} / ${set_s[bare-shred]}" | bc -l)")" \
        ">= 0.9"
done
echo "ratio = zlt's throughput / shred's (target >= 0.9); raw = the 3 passes' bytes at the raw write speed"
echo "the bare program opens, writes 4096-byte blocks, flushes and closes the file in each pass, as specified"
printf 'raw sequential write: %.1f MB/s (dd, 512 MiB, fdatasync)\n' "$raw_mbs"

printf '\n%-34s %9s %9s %7s\n' "emptying a folder, 20000 x 100 B" "zlt s" "rm -rf s" "ratio"
rm_s=$(rm_time)
declare -A empty_s
for mode in empty delete-loop checked-loop search preview look-loop; do
    empty_s[$mode]=$(wine_time many "$mode")
    case $mode in
    empty) name="EmptyFolder" ;;
    delete-loop) name="bare DeleteFileA loop (Wine floor)" ;;
    checked-loop) name="bare checked removal loop" ;;
    search) name="  EmptyFolder's search alone" ;;
    preview) name="EmptyFolder's preview" ;;
    look-loop) name="bare look loop (the preview's floor)" ;;
    esac
    printf '%-34s %9.3f %9.3f %7.2f\n' "$name" "${empty_s[$mode]}" "$rm_s" "$(echo "${empty_s[$mode]} / $rm_s" | bc -l)"
done
echo "ratio = the time / rm's; target: EmptyFolder <= 1.05 times the bare loop's time"
echo "the checked loop opens each file with the deletion's access, asks its attributes, names and final"
echo "path, deletes it through the handle and closes it: what a removal that never follows a link asks"
echo "the look loop opens each file with the deletion's access and sharing, asks its size and names and"
echo "its final path, and closes it: what a preview that says what the run would do must ask"
summary "emptying a folder, 20 000 x 100 B" "$(printf '%.2f s' "${empty_s[empty]}")" \
    "$(printf 'bare DeleteFileA loop %.2f s; bare checked loop %.2f s; rm -rf %.2f s' "${empty_s[delete-loop]}" "${empty_s[checked-loop]}" "$rm_s")" \
    "$(printf '%.2f of the loop (%.2f of the checked loop)' "$(echo "${empty_s[empty]} / ${empty_s[delete-loop]}" | bc -l)" "$(echo "${empty_s[empty]} / ${empty_s[checked-loop]}" | bc -l)")" \
    "<= 1.05 of the loop"
summary "preview of emptying that folder" "$(printf '%.2f s' "${empty_s[preview]}")" \
    "$(printf 'bare look loop %.2f s; EmptyFolder %.2f s' "${empty_s[look-loop]}" "${empty_s[empty]}")" \
    "$(printf '%.2f of the loop (%.2f of the run)' "$(echo "${empty_s[preview]} / ${empty_s[look-loop]}" | bc -l)" "$(echo "${empty_s[preview]} / ${empty_s[empty]}" | bc -l)")" \
    "<= 0.5 of the run"

if command -v sqlite3 >/dev/null; then
    places_exe=$build/bin/zlt_places_bench.exe
    "$top/bench/make_places.py" "$work/places.sqlite" 100000
    "$top/scripts/wine-run.sh" --root "$build" "$places_exe" script 2>/dev/null | tr -d '\r' >"$work/script.sql"
    # One run of the places benchmark under Wine; prints its seconds.
    places_once() {
        local out
        out=$(BENCH_PLACES=$work/places.sqlite ZLT_TEST_SETUP=$top/bench/places_setup.sh \
            "$top/scripts/wine-run.sh" --root "$build" "$places_exe" "$@" 2>/dev/null | tr -d '\r')
        [ "$(sed -n 's/.*visits \([0-9-]*\).*/\1/p' <<<"$out")" = 0 ] || { echo "visits left behind ($*): $out" >&2; exit 1; }
        sed -n 's/.*seconds \([0-9.]*\).*/\1/p' <<<"$out"
    }
    declare -A places_times
    shell_times=()
    # Side by side in each round: the shell, the cleaner, the bare program and its variants.
    for ((i = 0; i < repeat; i++)); do
        cp "$work/places.sqlite" "$work/copy.sqlite"
        sync
        t0=$(now)
        sqlite3 "$work/copy.sqlite" <"$work/script.sql" >/dev/null 2>&1 || true
        t1=$(now)
        shell_times+=("$(elapsed "$t0" "$t1")")
        rm -f "$work/copy.sqlite"*
        for variant in clear bare "bare exclusive" "bare mmap"; do
            places_times[$variant]+="$(places_once $variant) "
        done
    done
    shell_s=$(least "${shell_times[@]}")
    declare -A places_s
    for variant in clear bare "bare exclusive" "bare mmap"; do
        # shellcheck disable=SC2086
        places_s[$variant]=$(least ${places_times[$variant]})
    done
    printf '\n%-44s %9s %9s %9s\n' "places.sqlite, 100000 places, 500000 visits" "s" "/ bare" "/ shell"
    for variant in clear bare "bare exclusive" "bare mmap"; do
        case $variant in
        clear) name="ClearFirefoxHistory" ;;
        bare) name="bare Wine program, same SQL, same DLL" ;;
        "bare exclusive") name="  the same with locking_mode=EXCLUSIVE" ;;
        "bare mmap") name="  the same with mmap_size=256 MiB" ;;
        esac
        printf '%-44s %9.3f %9.2f %9.2f\n' "$name" "${places_s[$variant]}" \
            "$(echo "${places_s[$variant]} / ${places_s[bare]}" | bc -l)" "$(echo "${places_s[$variant]} / $shell_s" | bc -l)"
    done
    printf '%-44s %9.3f %9s %9.2f\n' "sqlite3 shell (native), same SQL" "$shell_s" "" 1
    echo "the SQL: the cleaner's settings, its statements in one transaction, VACUUM, integrity_check (target <= 1.05 of bare)"
    summary "Firefox history, 100 000 places, 500 000 visits" "$(printf '%.2f s' "${places_s[clear]}")" \
        "$(printf 'bare Wine program %.2f s; sqlite3 shell %.2f s' "${places_s[bare]}" "$shell_s")" \
        "$(printf '%.2f (shell %.2f)' "$(echo "${places_s[clear]} / ${places_s[bare]}" | bc -l)" "$(echo "${places_s[clear]} / $shell_s" | bc -l)")" \
        "<= 1.05 of bare"
else
    echo "places.sqlite benchmark skipped: no sqlite3 shell"
fi
rm -rf "$work"
"$top/bench/chromium.sh"
"$top/bench/firefox.sh"
"$top/bench/census.sh"

# The installed program (build/all): start-up and idle memory against a minimal window, a full Clear
# All on a seeded trace set with shredding off and on, and the exit.
echo
"$top/bench/startup.sh"
"$top/bench/clearall.sh"
echo
"$top/bench/exit.sh"

printf '\n%s\n' "Summary (best of $repeat runs each; references measured in the same run)"
printf '| %s | %s | %s | %s | %s |\n' benchmark zlt reference ratio target '---' '---' '---' '---' '---'
while IFS=$'\t' read -r name zlt reference ratio target; do
    printf '| %s | %s | %s | %s | %s |\n' "$name" "$zlt" "$reference" "$ratio" "$target"
done <"$BENCH_SUMMARY"
