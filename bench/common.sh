# Sourced by the benchmark scripts: the time now, the seconds between two times, and the least of
# several figures (the machine is shared, so each figure is the best of BENCH_REPEAT runs).
repeat=${BENCH_REPEAT:-2}
now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l; }
least() { printf '%s\n' "$@" | sort -g | head -n 1; }
# summary NAME ZLT REFERENCE RATIO TARGET: one row of the table bench/run.sh prints at its end (kept
# in $BENCH_SUMMARY when it is set).
summary() {
    [ -n "${BENCH_SUMMARY:-}" ] || return 0
    printf '%s\t%s\t%s\t%s\t%s\n' "$@" >>"$BENCH_SUMMARY"
}
