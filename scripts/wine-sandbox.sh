# Sourced, not run. Sandboxed Wine prefixes: nothing a program does under them can reach the
# real home folder or the root file system.
#
#   zlt_sandbox_template DIR   make DIR/prefix + DIR/home once (wineboot, ~15 s); later calls reuse it
#   zlt_sandbox_new TEMPLATE WORK
#                              copy the template to WORK and point the Wine/XDG variables at it
#   zlt_sandbox_display        start a private Xvfb (unless ZLT_USE_DISPLAY=1 and DISPLAY is set)
#   zlt_sandbox_stop           stop this prefix's wineserver and the private Xvfb
#
# The template has drive Z: removed and every shell folder that Wine links into $HOME replaced by a
# real folder, so copies share nothing with each other or with the template.

ZLT_WINE=${ZLT_WINE:-/usr/lib/wine/wine64}
ZLT_WINESERVER=${ZLT_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}

zlt__env() {
    local work=$1
    export WINEPREFIX=$work/prefix
    export HOME=$work/home
    export XDG_DATA_HOME=$work/home/.local/share
    export XDG_CONFIG_HOME=$work/home/.config
    export XDG_CACHE_HOME=$work/home/.cache
    export XDG_DESKTOP_DIR=$work/home/Desktop
    export WINEDEBUG=${ZLT_WINEDEBUG:--all}
    # No desktop menu entries, no .NET/HTML engine downloads, no debugger: with winedbg a crash
    # sometimes ends with status 0.
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml=;winedbg.exe=d"
    export WINEARCH=win64
    unset WINESERVER
}

zlt_sandbox_template() {
    local dir=$1
    mkdir -p "$(dirname "$dir")"
    (
        flock 9
        # A template made by an older version of this script is made again.
        stamp=$(sha256sum "${BASH_SOURCE[0]}" | cut -d' ' -f1)
        [ "$(cat "$dir/.ready" 2>/dev/null)" = "$stamp" ] && exit 0
        rm -rf "$dir" "$dir.tmp"
        mkdir -p "$dir.tmp/home"
        zlt__env "$dir.tmp"
        echo "wine-sandbox: creating template prefix in $dir" >&2
        wineboot -i >/dev/null 2>&1 </dev/null
        "$ZLT_WINESERVER" -w
        "$ZLT_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1 </dev/null
        # A virtual desktop: Wine then draws window frames and the task bar's tray itself, so that
        # screenshots under a bare Xvfb show what a user sees.
        "$ZLT_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
        "$ZLT_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
            >/dev/null 2>&1 </dev/null
        "$ZLT_WINESERVER" -k 2>/dev/null
        "$ZLT_WINESERVER" -w
        # Only drive C: stays; Z: would expose the whole Unix file system.
        find "$WINEPREFIX/dosdevices" -mindepth 1 -maxdepth 1 ! -name 'c:' -exec rm -f {} +
        # Shell folders (Desktop, Documents, ...) are symlinks into $HOME: make them real folders.
        find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -type l | while read -r link; do
            rm -f "$link" && mkdir -p "$link"
        done
        # Wine keeps the recycle bin in $XDG_DATA_HOME/Trash and uses it only when these exist.
        mkdir -p "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info"
        # Wine's own fonts (Marlett draws the caption buttons) where every program finds them.
        cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        # Paths inside the prefix files still name the template; the copies run elsewhere.
        mv "$dir.tmp" "$dir"
        echo "$stamp" >"$dir/.ready"
    ) 9>"$dir.lock"
}

zlt_sandbox_new() {
    local template=$1 work=$2
    mkdir -p "$work"
    cp -a "$template/prefix" "$work/prefix"
    cp -a "$template/home" "$work/home"
    zlt__env "$work"
}

zlt_sandbox_display() {
    if [ "${ZLT_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    command -v Xvfb >/dev/null || return 0
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 7 -screen 0 1024x768x24 -nolisten tcp 7>"$fifo" </dev/null >/dev/null 2>&1 &
    ZLT_XVFB_PID=$!
    local n
    read -r -t 20 n <"$fifo" || n=
    rm -f "$fifo"
    if [ -n "$n" ]; then
        export DISPLAY=:$n
    else
        kill "$ZLT_XVFB_PID" 2>/dev/null
        ZLT_XVFB_PID=
    fi
}

zlt_sandbox_stop() {
    "$ZLT_WINESERVER" -k 2>/dev/null
    "$ZLT_WINESERVER" -w 2>/dev/null
    if [ -n "${ZLT_XVFB_PID:-}" ]; then
        kill "$ZLT_XVFB_PID" 2>/dev/null
        wait "$ZLT_XVFB_PID" 2>/dev/null
        ZLT_XVFB_PID=
    fi
}
