#!/bin/sh
# Links where the index.dat cleaners write and delete, made on the Unix side (Wine cannot make them):
#  - zlt-idx/install/index.bat -> ../outside/victim.txt, a link in the batch file's place;
#  - <roaming>/Microsoft/Windows/PrivacIE/Linked/index.dat -> zlt-idx/outside/privacie.dat.
# Every link is relative and every end lies inside this test's prefix.
set -eu
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ]
top="$WINEPREFIX/drive_c/zlt-idx"
mkdir -p "$top/install" "$top/outside"
printf 'keep' >"$top/outside/victim.txt"
ln -s ../outside/victim.txt "$top/install/index.bat"
head -c 5000 /dev/zero | tr '\0' 'P' >"$top/outside/privacie.dat"
for roaming in "$WINEPREFIX"/drive_c/users/*/AppData/Roaming; do
    [ -d "$roaming" ] || continue
    linked="$roaming/Microsoft/Windows/PrivacIE/Linked"
    mkdir -p "$linked"
    ln -s "$(realpath --relative-to="$linked" "$top/outside/privacie.dat")" "$linked/index.dat"
done
