#!/bin/sh
# A Firefox profile reached through a link, made on the Unix side (Wine cannot make one): the
# user's Mozilla\Firefox\Profiles\linked -> C:\zlt-ff-elsewhere\linked. The link is relative and
# ends inside this test's prefix; the test fills the folder it leads to.
set -eu
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ]
for home in "$WINEPREFIX"/drive_c/users/*/; do
    [ "$(basename "$home")" = Public ] && continue
    profiles="$home/AppData/Roaming/Mozilla/Firefox/Profiles"
    mkdir -p "$profiles" "$WINEPREFIX/drive_c/zlt-ff-elsewhere/linked"
    ln -s ../../../../../../../zlt-ff-elsewhere/linked "$profiles/linked"
done
