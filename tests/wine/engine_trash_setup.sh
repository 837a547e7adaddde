#!/bin/sh
# Wine keeps the recycle bin in $XDG_DATA_HOME/Trash and only uses it when the folders exist.
# The runner points XDG_DATA_HOME into the test's own sandbox; refuse anything else.
set -eu
sandbox=$(dirname "$WINEPREFIX")
case "$XDG_DATA_HOME" in
"$sandbox"/*) ;;
*) echo "XDG_DATA_HOME is outside the sandbox: $XDG_DATA_HOME" >&2; exit 1 ;;
esac
mkdir -p "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info"
