#!/usr/bin/env bash
# Start-up time (launch to a visible top-level window) and idle resident memory of zlt.exe against
# a minimal Win32 window program, both under the same Wine, each in a fresh sandboxed prefix.
# Prints "name milliseconds kilobytes" per program; best of BENCH_REPEAT runs (default 3).
# Targets: at most +150 ms and +8 MB over the minimal window.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/all
. "$top/scripts/wine-sandbox.sh"
repeat=${BENCH_REPEAT:-3}
bin=$build/wine/bin
zlt_sandbox_template "$build/wine/wine-template"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# measure EXE TITLE: one run in a fresh prefix; prints "ms kB".
measure() {
    local exe=$1 title=$2 work pid t0 t1 rss=0
    work=$(mktemp -d "$build/startup-bench.XXXXXX")
    zlt_sandbox_new "$build/wine/wine-template" "$work"
    ZLT_USE_DISPLAY=0 zlt_sandbox_display
    local dest=$WINEPREFIX/drive_c/bench path
    mkdir -p "$dest"
    if [ "$exe" = zlt.exe ]; then
        # The program starts only where it was installed.
        cp "$bin/Zephyrlanthorpe.msi" "$dest/"
        "$ZLT_WINE" msiexec /i 'C:\bench\Zephyrlanthorpe.msi' /qn </dev/null >/dev/null 2>&1
        "$ZLT_WINESERVER" -w
        path='C:\Program Files\Zephyrlanthorpe\zlt.exe'
    else
        cp "$bin/$exe" "$dest/"
        path="C:\\bench\\$exe"
    fi
    # Wine's own start-up (wineserver, services) is not the program's: bring it up first.
    "$ZLT_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
    t0=$(now_ms)
    (cd "$dest" && exec "$ZLT_WINE" "$path" </dev/null >/dev/null 2>&1) &
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do
        sleep 0.005
        (($(now_ms) - t0 < 30000)) || { echo "startup: no window '$title'" >&2; t0=; break; }
    done
    t1=$(now_ms)
    sleep 3 # idle
    pid=$(pgrep -f "$exe\$" | head -n 1 || true)
    [ -n "$pid" ] && rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
    [ -z "${BENCH_MAPS:-}" ] || [ -z "$pid" ] || cp "/proc/$pid/smaps" "$BENCH_MAPS.$exe"
    zlt_sandbox_stop >/dev/null 2>&1 || true
    rm -rf "$work"
    # A run that showed no window, or whose process was gone, is left out of the figures.
    if [ -n "$t0" ] && ((rss > 0)); then echo "$((t1 - t0)) $rss"; else echo "- -"; fi
}

best() {
    local exe=$1 title=$2 i ms kb bestMs= bestKb=
    for ((i = 0; i < repeat; i++)); do
        read -r ms kb < <(measure "$exe" "$title")
        [ "$ms" = - ] && continue
        if [ -z "$bestMs" ] || ((ms < bestMs)); then bestMs=$ms; fi
        if [ -z "$bestKb" ] || ((kb < bestKb)); then bestKb=$kb; fi
    done
    [ -n "$bestMs" ] || { echo "startup: $exe never showed its window" >&2; exit 1; }
    echo "$bestMs $bestKb"
}

read -r zltMs zltKb < <(best zlt.exe Zephyrlanthorpe)
read -r minMs minKb < <(best zlt_minimal_window.exe "Minimal window")
printf '%-22s %10s %12s\n' program "start ms" "resident kB"
printf '%-22s %10d %12d\n' "minimal window" "$minMs" "$minKb" zlt.exe "$zltMs" "$zltKb"
printf '%-22s %+10d %+12d   (targets: +150 ms, +8192 kB)\n' difference $((zltMs - minMs)) $((zltKb - minKb))
. "$top/bench/common.sh"
summary "start-up to a visible main window" "$zltMs ms" "minimal window $minMs ms" "$(printf '%+d ms' $((zltMs - minMs)))" "<= +150 ms"
summary "resident memory when idle" "$zltKb kB" "minimal window $minKb kB" "$(printf '%+d kB' $((zltKb - minKb)))" "<= +8 192 kB"
