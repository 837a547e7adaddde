#!/usr/bin/env bash
# Installs, on Debian 12, whatever building and testing needs and is not there yet,
# then fetches the SQLite sources. Safe to run again: it does nothing when all is present.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest libsqlite3-dev
    mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine64 xvfb xauth xdotool imagemagick
    wixl msitools gcab fp-utils-3.2.2 python3 ca-certificates bc sqlite3 nlohmann-json3-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# npm may come with a nodejs package of its own; only ask Debian for it when the command is absent.
command -v npm >/dev/null || missing+=(npm)

if ((${#missing[@]})); then
    sudo=
    [ "$(id -u)" = 0 ] || sudo=sudo
    echo "setup: installing ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi

"$top/scripts/fetch-sqlite.sh"
