#!/bin/sh
# Makes a delay-load import library from MinGW's ordinary one: every function it exports, loaded
# from DLL by its first call instead of at the program's start.
#   delay_import.sh NM DLLTOOL IMPORT_LIBRARY DLL OUTPUT [stdcall]
# With "stdcall" (32-bit x86) the names carry their @N decoration in the definition and dlltool
# takes it off the names it imports (-k), as the system DLLs export them.
set -eu
nm=$1 dlltool=$2 implib=$3 dll=$4 out=$5 convention=${6:-}
def=$out.def
{
    echo "LIBRARY $dll"
    echo EXPORTS
    if [ "$convention" = stdcall ]; then
        "$nm" -g --defined-only "$implib" | awk '$2 == "T" { sub(/^_/, "", $3); print $3 }'
    else
        "$nm" -g --defined-only "$implib" | awk '$2 == "T" { print $3 }'
    fi
} >"$def"
kill_at=
[ "$convention" = stdcall ] && kill_at=-k
"$dlltool" $kill_at --input-def "$def" --dllname "$dll" --output-delaylib "$out"
