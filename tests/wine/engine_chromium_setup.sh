#!/bin/sh
# A Chrome profile and a whole Vivaldi "User Data" reached through links, made on the Unix side
# (Wine cannot make one): they lead to C:\zlt-chromium-elsewhere, which the test fills. The links
# are relative and end inside this test's prefix.
set -eu
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ]
elsewhere="$WINEPREFIX/drive_c/zlt-chromium-elsewhere"
mkdir -p "$elsewhere/Profile 9" "$elsewhere/VivaldiData/Default"
for home in "$WINEPREFIX"/drive_c/users/*/; do
    [ "$(basename "$home")" = Public ] && continue
    chrome="$home/AppData/Local/Google/Chrome/User Data"
    mkdir -p "$chrome" "$home/AppData/Local/Vivaldi"
    ln -s "../../../../../../../zlt-chromium-elsewhere/Profile 9" "$chrome/Profile 9"
    ln -s ../../../../../zlt-chromium-elsewhere/VivaldiData "$home/AppData/Local/Vivaldi/User Data"
done
