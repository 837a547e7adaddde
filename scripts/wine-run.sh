#!/usr/bin/env bash
# Test emulator for the Windows build: runs one program in its own throw-away copy of the
# build folder's sandboxed prefix, with its own wineserver and its own Xvfb display.
#
#   wine-run.sh --root BUILD_DIR PROGRAM.exe [ARGS...]
#
# The program and the DLLs beside it are copied to C:\zlt-test in the fresh prefix and started from
# there, so the program sees an ordinary Windows path and reaches nothing outside its prefix.
# A run whose output shows "wine: Unhandled" fails even if the exit status says otherwise.
# ZLT_KEEP_PREFIX=1 keeps the prefix for inspection; a folder "artifacts" that the program makes
# beside itself is always kept, as BUILD_DIR/test-artifacts/PROGRAM. ZLT_TEST_SETUP names a script
# that runs on the Unix side before the program starts (WINEPREFIX set), for fixtures that Windows
# code cannot make, such as a Unix symlink inside the prefix. ZLT_TEST_FILE_LIMIT (KiB) caps the size
# of every file that the program and what it starts write, as a disk that fills up would: a write
# past it fails (SIGXFSZ is ignored) instead of ending the process.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-sandbox.sh"

root=
while [ $# -gt 0 ]; do
    case $1 in
    --root) root=$2; shift 2 ;;
    *) break ;;
    esac
done
[ -n "$root" ] && [ $# -ge 1 ] || { echo "usage: wine-run.sh --root BUILD_DIR PROGRAM.exe [ARGS...]" >&2; exit 2; }
exe=$1
shift

zlt_sandbox_template "$root/wine-template" || exit 1
mkdir -p "$root/wine-runs"
work=$(mktemp -d "$root/wine-runs/run.XXXXXX")
zlt_sandbox_new "$root/wine-template" "$work"
dest=$WINEPREFIX/drive_c/zlt-test
mkdir -p "$dest"
cp "$exe" "$dest/"
for dll in "$(dirname "$exe")"/*.dll; do [ -e "$dll" ] && cp "$dll" "$dest/"; done
# ZLT_TEST_FILES: further files (space-separated paths) that the program needs beside it.
for extra in ${ZLT_TEST_FILES:-}; do cp "$extra" "$dest/"; done
if [ -n "${ZLT_TEST_SETUP:-}" ]; then
    "$ZLT_TEST_SETUP" || { echo "wine-run: setup script $ZLT_TEST_SETUP failed" >&2; zlt_sandbox_stop; exit 1; }
fi
zlt_sandbox_display

log=$work/output.log
cd "$dest" # the program's own folder is its working folder, as Explorer would start it
(
    if [ -n "${ZLT_TEST_FILE_LIMIT:-}" ]; then
        trap '' XFSZ
        ulimit -f "$ZLT_TEST_FILE_LIMIT"
    fi
    exec "$ZLT_WINE" "C:\\zlt-test\\$(basename "$exe")" "$@" </dev/null
) 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
zlt_sandbox_stop
# What the program left in C:\zlt-test\artifacts (pictures of its windows) is kept below the build
# folder, in test-artifacts/PROGRAM, replacing the previous run's.
if [ -d "$dest/artifacts" ]; then
    keep=$root/test-artifacts/$(basename "$exe" .exe)
    rm -rf "$keep"
    mkdir -p "$keep"
    cp -a "$dest/artifacts/." "$keep/"
fi
if grep -q 'wine: Unhandled' "$log"; then
    echo "wine-run: the program crashed (wine: Unhandled)" >&2
    [ "$status" = 0 ] && status=1
fi
if [ "${ZLT_KEEP_PREFIX:-0}" = 1 ]; then
    echo "wine-run: prefix kept in $work" >&2
else
    rm -rf "$work"
fi
exit "$status"
