#!/bin/sh
# Links inside folders that get cleaned, made on the Unix side (Wine cannot make them):
#  - target/link -> ../canary, a link to a folder, which Wine shows with FILE_ATTRIBUTE_REPARSE_POINT;
#  - target/filelink.txt -> ../outside/secret.txt, a link to a file, which Wine shows as a plain file;
#  - profile/cookies.sqlite -> places.sqlite, a link to a file in the same folder;
#  - idx/index.dat -> ../outside/index.dat.
# Every link is relative and every end lies inside this test's prefix, so nothing outside the prefix
# can be reached through them.
set -eu
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ]
top="$WINEPREFIX/drive_c/zlt-links"
mkdir -p "$top/target/sub" "$top/canary/inner" "$top/outside" "$top/profile" "$top/idx"
echo keep >"$top/canary/keep.txt"
echo keep >"$top/canary/keep.dat"
echo keep >"$top/canary/87654321.s"
echo keep >"$top/canary/inner/deep.txt"
ln -s ../canary "$top/target/link"
head -c 20000 /dev/zero | tr '\0' 'S' >"$top/outside/secret.txt"
ln -s ../outside/secret.txt "$top/target/filelink.txt"
echo places >"$top/profile/places.sqlite"
ln -s places.sqlite "$top/profile/cookies.sqlite"
head -c 40000 /dev/zero | tr '\0' 'I' >"$top/outside/index.dat"
ln -s ../outside/index.dat "$top/idx/index.dat"
