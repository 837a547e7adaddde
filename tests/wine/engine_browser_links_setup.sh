#!/bin/sh
# Links in the browsers' folders that lead out of them, made on the Unix side (Wine cannot make
# them). Their ends lie in C:\zlt-outside, inside this test's prefix; the test program fills them:
#  - a Firefox profile whose places.sqlite and prefs.js are links to files outside;
#  - Chrome's Cache and an Opera profile's cache4, links to a folder outside.
set -eu
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ]
user=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
[ -d "$user/AppData/Roaming" ] && [ -d "$user/AppData/Local" ]
outside="$WINEPREFIX/drive_c/zlt-outside"
mkdir -p "$outside/cache"
link() { # link TARGET NAME, relative so that the prefix's copies keep their own ends
    mkdir -p "$(dirname "$2")"
    ln -s "$(realpath -m --relative-to="$(dirname "$2")" "$1")" "$2"
}
firefox="$user/AppData/Roaming/Mozilla/Firefox/Profiles/linked.default"
link "$outside/places.sqlite" "$firefox/places.sqlite"
link "$outside/prefs.js" "$firefox/prefs.js"
link "$outside/cache" "$user/AppData/Local/Google/Chrome/User Data/Default/Cache"
link "$outside/cache" "$user/AppData/Roaming/Opera/Opera/profile/cache4"
