#!/usr/bin/env bash
# Builds the program, installs it with Windows Installer into a sandboxed Wine prefix
# (build/run, kept between runs) and starts it: on $DISPLAY when there is one, otherwise on a
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

cp "$build/wine/bin/Zephyrlanthorpe.msi" "$WINEPREFIX/drive_c/Zephyrlanthorpe.msi"
folder="$WINEPREFIX/drive_c/Program Files/Zephyrlanthorpe"
if [ -f "$folder/zlt.exe" ]; then
    # A new build has the same version number, which Windows Installer would not overwrite: remove
    # the old one first, keeping the user's settings.
    [ -f "$folder/settings.dat" ] && cp "$folder/settings.dat" "$run/settings.dat.keep"
    "$ZLT_WINE" msiexec /x '{A5C31E77-0B4D-4F62-9E18-5D0C7B2E4A91}' /qn </dev/null >/dev/null 2>&1 || true
fi
echo "run: installing with msiexec"
"$ZLT_WINE" msiexec /i 'C:\Zephyrlanthorpe.msi' /qn </dev/null >/dev/null 2>&1 || {
    echo "run: msiexec failed" >&2
    exit 1
}
if [ -f "$run/settings.dat.keep" ]; then
    mv "$run/settings.dat.keep" "$folder/settings.dat"
fi
"$ZLT_WINESERVER" -w

if [ -n "${DISPLAY:-}" ]; then
    echo "run: starting zlt.exe on $DISPLAY"
    export ZLT_USE_DISPLAY=1
    "$ZLT_WINE" 'C:\Program Files\Zephyrlanthorpe\zlt.exe' </dev/null
    "$ZLT_WINESERVER" -w
    exit 0
fi

zlt_sandbox_display
trap zlt_sandbox_stop EXIT
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
