#!/usr/bin/env bash
# A full "Clear all selected items" of the installed program (quick select) on a seeded set of
# about 1 000 cache and temporary files and 400 registry values, shredding off and on, shredding off
# without a record kept, and its preview, each in a
# fresh throw-away prefix; beside it GNU `shred -n 3 -u` on a native set of the same file sizes, and
# a bare Wine program making the same passes over them (zlt_engine_bench bare-shred).
# Prints a table, never pass/fail; each figure is the best of BENCH_REPEAT runs, and at least of
# four: the record's 3 % of a half-second run is well inside what two runs of it differ by.
# Uses build/all (after scripts/build.sh); native files go to build/all/clearall-work.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/all/wine
cmake --build "$build" --target zlt_clearall_bench zlt_engine_bench zlt ZLTSetup -j2 >/dev/null
. "$top/bench/common.sh"
((repeat >= 4)) || repeat=4
work=$top/build/all/clearall-work

# One run in a fresh prefix; prints its output (the file sizes, then the figures).
run_once() {
    ZLT_TEST_FILES="$build/bin/ZLTSetup.exe" \
        "$top/scripts/wine-run.sh" --root "$build" "$build/bin/zlt_clearall_bench.exe" "$1" 2>/dev/null | tr -d '\r'
}

declare -A seconds
for mode in off norecord preview on; do
    times=()
    for ((i = 0; i < repeat; i++)); do
        out=$(run_once "$mode")
        line=$(grep '^seconds ' <<<"$out") || { echo "clearall: $mode run failed: $(tail -n 3 <<<"$out")" >&2; exit 1; }
        read -r _ s _ files _ bytes _ left <<<"$line"
        # A preview removes nothing; a clearing leaves nothing.
        if [ "$mode" = preview ]; then
            [ "$left" = "$files" ] || { echo "clearall: the preview removed $((files - left)) files" >&2; exit 1; }
        else
            [ "$left" = 0 ] || { echo "clearall: $left files left behind ($mode)" >&2; exit 1; }
        fi
        times+=("$s")
        sizes=$(sed -n 's/^file //p' <<<"$out")
    done
    seconds[$mode]=$(least "${times[@]}")
done

# The same sizes natively, shredded with three passes and removed; and under Wine, through the same
# passes done by a bare program.
sizes_file=$top/build/all/clearall-sizes.txt
printf '%s\n' "$sizes" >"$sizes_file"
shred_times=()
bare_times=()
for ((i = 0; i < repeat; i++)); do
    BENCH_SIZES=$sizes_file "$top/bench/make_sized_set.sh" "$work"
    t0=$(date +%s.%N)
    find "$work" -type f -print0 | xargs -0 shred -n 3 -u
    t1=$(date +%s.%N)
    shred_times+=("$(echo "$t1 - $t0" | bc -l)")
    out=$(BENCH_SIZES=$sizes_file ZLT_TEST_SETUP=$top/bench/make_sized_set.sh \
        "$top/scripts/wine-run.sh" --root "$build" "$build/bin/zlt_engine_bench.exe" bare-shred 'C:\bench' 2>/dev/null | tr -d '\r')
    bare_times+=("$(sed -n 's/.*seconds \([0-9.]*\).*/\1/p' <<<"$out")")
done
rm -rf "$work" "$sizes_file"
shred_s=$(least "${shred_times[@]}")
bare_s=$(least "${bare_times[@]}")
shredding_s=$(echo "${seconds[on]} - ${seconds[off]}" | bc -l)
mb=$(echo "$bytes / 1000000" | bc -l)

printf '\n%-44s %9s\n' "Clear All after quick select, $files files, $(printf '%.0f' "$mb") MB" "seconds"
printf '%-44s %9.2f\n' "shredding off" "${seconds[off]}" "shredding off, no record kept" "${seconds[norecord]}" \
    "preview (nothing removed)" "${seconds[preview]}" "shredding on, progress window shown" "${seconds[on]}" \
    "the shredding's share (on - off)" "$shredding_s" "shred -n 3 -u on the same sizes (native)" "$shred_s" \
    "the same passes, bare Wine program" "$bare_s"
printf 'shredding throughput: zlt %.1f MB/s, shred %.1f MB/s (3 passes), ratio %.2f (target >= 1.2); %.2f of bare\n' \
    "$(echo "$mb * 3 / $shredding_s" | bc -l)" "$(echo "$mb * 3 / $shred_s" | bc -l)" \
    "$(echo "$shred_s / $shredding_s" | bc -l)" "$(echo "$shredding_s / $bare_s" | bc -l)"
printf 'record and report: %+.1f %% of the run (target <= 3 %%); preview: %.2f of the run (target <= 0.5)\n' \
    "$(echo "(${seconds[off]} - ${seconds[norecord]}) * 100 / ${seconds[norecord]}" | bc -l)" \
    "$(echo "${seconds[preview]} / ${seconds[off]}" | bc -l)"
summary "Clear All with shredding, the shredding's share ($files files, $(printf '%.0f' "$mb") MB)" \
    "$(printf '%.2f s (on %.2f - off %.2f)' "$shredding_s" "${seconds[on]}" "${seconds[off]}")" \
    "$(printf 'shred -n 3 -u %.2f s; bare Wine program, same passes, %.2f s' "$shred_s" "$bare_s")" \
    "$(printf '%.2f (throughput; %.2f of bare)' "$(echo "$shred_s / $shredding_s" | bc -l)" "$(echo "$shredding_s / $bare_s" | bc -l)")" ">= 1.2"
summary "Clear All, record and report kept" "$(printf '%.2f s' "${seconds[off]}")" \
    "$(printf 'no record kept %.2f s' "${seconds[norecord]}")" \
    "$(printf '%+.1f %%' "$(echo "(${seconds[off]} - ${seconds[norecord]}) * 100 / ${seconds[norecord]}" | bc -l)")" "<= +3 %"
summary "Clear All's preview" "$(printf '%.2f s' "${seconds[preview]}")" "$(printf 'the run %.2f s' "${seconds[off]}")" \
    "$(printf '%.2f' "$(echo "${seconds[preview]} / ${seconds[off]}" | bc -l)")" "<= 0.5"
