#!/usr/bin/env bash
# Screenshots of the program's windows under Xvfb, into docs/screenshots (or the folder given).
# Uses the 64-bit build in build/all (scripts/build.sh makes it) and a throw-away sandboxed prefix.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/docs/screenshots}
build=$top/build/all
. "$top/scripts/wine-sandbox.sh"

mkdir -p "$out"
zlt_sandbox_template "$build/wine/wine-template"
work=$(mktemp -d "$build/screenshots.XXXXXX")
zlt_sandbox_new "$build/wine/wine-template" "$work"
ZLT_USE_DISPLAY=0 zlt_sandbox_display
trap 'zlt_sandbox_stop || true; rm -rf "$work"' EXIT
dest=$WINEPREFIX/drive_c/gallery
mkdir -p "$dest"
cp "$build/wine/bin/zlt_gallery.exe" "$build/wine/bin/"*.dll "$dest/"

cp "$build/wine/bin/zlt_snap.exe" "$dest/"

# snap NAME TITLE [OPTIONS...]: a picture of the window titled TITLE as NAME.png (zlt_snap.exe's
# options come after the title).
snap() {
    local name=$1 title=$2
    shift 2
    if (cd "$dest" && "$ZLT_WINE" 'C:\gallery\zlt_snap.exe' "$@" "$title" "C:\\gallery\\$name.bmp" </dev/null); then
        convert "$dest/$name.bmp" "$out/$name.png"
        echo "screenshots: $out/$name.png"
    else
        echo "screenshots: no picture of '$title'" >&2
    fi
}

# gallery NAME TITLE WHAT: show one window of the program by itself and take its picture.
gallery() {
    (cd "$dest" && "$ZLT_WINE" 'C:\gallery\zlt_gallery.exe' "$3" </dev/null >/dev/null 2>&1 &)
    snap "$1" "$2"
    "$ZLT_WINESERVER" -k 2>/dev/null || true
    "$ZLT_WINESERVER" -w 2>/dev/null || true
}

gallery message-box Zephyrlanthorpe message
gallery question-box Warning question
gallery password-dialog "Enter password" password
gallery progress-window "Files Shredding" progress
# The report of a run and its preview, and the confirmation that offers the report, on a sample run.
gallery report-view "Clearing report" report
gallery report-preview "Clearing preview" preview
gallery report-confirmation Zephyrlanthorpe confirmation

# The installed program itself: its main window with either tree, and the tray menu.
cp "$build/wine/bin/Zephyrlanthorpe.msi" "$dest/"
"$ZLT_WINE" msiexec /i 'C:\gallery\Zephyrlanthorpe.msi' /qn </dev/null >/dev/null 2>&1
"$ZLT_WINESERVER" -w
# Profiles of browsers built on Chromium, for their pages to name: two of Chrome, one of Edge.
for home in "$WINEPREFIX"/drive_c/users/*/; do
    [ "$(basename "$home")" = Public ] && continue
    chrome="$home/AppData/Local/Google/Chrome/User Data" edge="$home/AppData/Local/Microsoft/Edge/User Data"
    mkdir -p "$chrome/Default" "$chrome/Profile 3" "$edge/Default"
    printf '{"profile":{"info_cache":{"Default":{"name":"Person 1"},"Profile 3":{"name":"Work"}}}}' >"$chrome/Local State"
    printf '{"profile":{"info_cache":{"Default":{"name":"Profile 1"}}}}' >"$edge/Local State"
    for profile in "$chrome/Default" "$chrome/Profile 3" "$edge/Default"; do printf '{}' >"$profile/Preferences"; done
done
program='C:\Program Files\Zephyrlanthorpe\zlt.exe'
(cd "$dest" && "$ZLT_WINE" "$program" </dev/null >/dev/null 2>&1 &)
snap main-window-options Zephyrlanthorpe
# The browser pages, in a window large enough for the largest of them, chosen by their rows of the
# options tree (What to Clear, Browser History, then
# Internet Explorer, MSN Explorer, AOL Explorer, Maxthon, Firefox, Safari, Opera, Chrome, Edge,
# Brave, Vivaldi).
snap page-internet-explorer Zephyrlanthorpe --size 760 580 --tree 2
snap page-firefox Zephyrlanthorpe --size 760 580 --tree 6
snap page-safari Zephyrlanthorpe --size 760 580 --tree 7
snap page-opera Zephyrlanthorpe --size 760 580 --tree 8
snap page-chrome Zephyrlanthorpe --size 760 580 --tree 9
snap page-edge Zephyrlanthorpe --size 760 580 --tree 10
snap page-brave Zephyrlanthorpe --size 760 580 --tree 11
snap page-vivaldi Zephyrlanthorpe --size 760 580 --tree 12
# The other pages of the options tree: What to Clear (row 0), Windows History (13), Application
# History (14), Cookies to keep (15), Settings (16) and the Shredder (17).
snap page-what-to-clear Zephyrlanthorpe --size 760 580 --tree 0
snap page-windows-history Zephyrlanthorpe --size 760 580 --tree 13
snap page-application-history Zephyrlanthorpe --size 760 580 --tree 14
snap page-settings Zephyrlanthorpe --size 760 580 --tree 16
snap page-shredder Zephyrlanthorpe --size 760 580 --tree 17
snap page-cookies-to-keep Zephyrlanthorpe --size 760 580 --tree 15
# The help tree's three pages, through the tray menu's commands: About (300), Help (301) and
# Check the latest version (80).
snap main-window-about Zephyrlanthorpe --post 273 300 0
snap main-window-help Zephyrlanthorpe --post 273 301 0
snap main-window-check-updates Zephyrlanthorpe --post 273 80 0
# WM_COMMAND 2000 brings the options tree back; 10001 is the tray icon's callback (150, WM_RBUTTONDOWN).
snap tray-menu Zephyrlanthorpe --post 273 2000 0 --cursor 900 700 --post 10001 150 516 --class '#32768'
"$ZLT_WINESERVER" -k 2>/dev/null || true
