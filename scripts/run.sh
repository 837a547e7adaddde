#!/usr/bin/env bash
# Builds the program, installs it with its setup program ZLTSetup.exe into a sandboxed Wine prefix
# (build/all/run, kept between runs) and starts it: on $DISPLAY when there is one, otherwise on a
# private Xvfb display, where a screenshot is saved.
#
# The shipped product is 32-bit and cannot run on this machine's kernel, so the run uses the
# 64-bit build of the same sources, packaged the same way.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/build.sh"

. "$top/scripts/wine-sandbox.sh"
build=$top/build/all
run=$build/run
zlt_sandbox_template "$build/wine/wine-template"
if [ -d "$run/prefix" ]; then
    zlt__env "$run"
else
    echo "run: new sandboxed prefix in $run"
    zlt_sandbox_new "$build/wine/wine-template" "$run"
fi

# Windows Installer may show boxes while it works: give it the display the program will use.
if [ -z "${DISPLAY:-}" ]; then
    zlt_sandbox_display
    trap zlt_sandbox_stop EXIT
    headless=1
else
    export ZLT_USE_DISPLAY=1
    headless=0
fi

cp "$build/wine/bin/ZLTSetup.exe" "$WINEPREFIX/drive_c/ZLTSetup.exe"
folder="$WINEPREFIX/drive_c/Program Files/Zephyrlanthorpe"
if [ -f "$folder/zlt.exe" ]; then
    # A new build has the same version number, which Windows Installer would not overwrite: remove
    # the old one first with its own uninstaller. The user's settings are in the user's own
    # application-data folder, which the uninstaller leaves alone.
    echo "run: removing the previous build with uninst.exe"
    "$ZLT_WINE" 'C:\Program Files\Zephyrlanthorpe\uninst.exe' </dev/null >/dev/null 2>&1 || true
    "$ZLT_WINESERVER" -w # uninst.exe does not wait for msiexec; the wineserver ends after it
fi
echo "run: installing with ZLTSetup.exe"
"$ZLT_WINE" 'C:\ZLTSetup.exe' </dev/null >/dev/null 2>&1 || true
"$ZLT_WINESERVER" -w
if [ ! -f "$folder/zlt.exe" ]; then
    echo "run: ZLTSetup.exe did not install the program" >&2
    exit 1
fi

if [ "$headless" = 0 ]; then
    echo "run: starting zlt.exe on $DISPLAY"
    "$ZLT_WINE" 'C:\Program Files\Zephyrlanthorpe\zlt.exe' </dev/null
    "$ZLT_WINESERVER" -w
    exit 0
fi

echo "run: no \$DISPLAY; starting zlt.exe on Xvfb $DISPLAY"
"$ZLT_WINE" 'C:\Program Files\Zephyrlanthorpe\zlt.exe' </dev/null >"$run/zlt.log" 2>&1 &
for _ in $(seq 1 60); do
    xdotool search --name '^Zephyrlanthorpe$' >/dev/null 2>&1 && break
    sleep 0.5
done
sleep 2
shot=$run/screenshot.png
import -window root "$shot"
echo "run: screenshot of the running program: $shot"
