# Sourced by the benchmark scripts: the time now, the seconds between two times, and the least of
# several figures (the machine is shared, so each figure is the best of BENCH_REPEAT runs).
repeat=${BENCH_REPEAT:-2}
now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l; }
least() { printf '%s\n' "$@" | sort -g | head -n 1; }
