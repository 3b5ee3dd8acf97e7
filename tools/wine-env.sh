#!/usr/bin/env bash
# Starts or stops the private Wine environment of a build tree: a WINEPREFIX inside
# the build tree, a persistent wineserver and, when no display is usable, an Xvfb.
#   tools/wine-env.sh start BUILD_DIR   (writes BUILD_DIR/wine/env for tools/wine-run)
#   tools/wine-env.sh stop BUILD_DIR
# Every daemon is started with its input and output away from the caller's pipes,
# otherwise whoever reads our output would wait for ever.
set -euo pipefail
trap 'echo "wine-env: failed at line $LINENO" >&2' ERR

action=${1:?start or stop}
build=$(cd "${2:?build directory}" && pwd)
state=$build/wine
mkdir -p "$state"

find_wine() {
    for c in "$(command -v wine64 || true)" /usr/lib/wine/wine64 /usr/lib64/wine/wine64; do
        [ -n "$c" ] && [ -x "$c" ] && { echo "$c"; return; }
    done
    echo "wine-env: wine64 not found (apt-get install wine64)" >&2
    exit 1
}
find_wineserver() {
    for c in "$(command -v wineserver || true)" /usr/lib/wine/wineserver /usr/lib64/wine/wineserver; do
        [ -n "$c" ] && [ -x "$c" ] && { echo "$c"; return; }
    done
    echo "wine-env: wineserver not found" >&2
    exit 1
}

export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE64=$(find_wine)
WINESERVER=$(find_wineserver)

wait_for() { # deadline-seconds command...
    local deadline=$(( $(date +%s) + $1 )); shift
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

stop() {
    if [ -d "$WINEPREFIX" ]; then
        "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
        timeout 15 "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
    fi
    if [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
        rm -f "$state/xvfb.pid"
    fi
    rm -f "$state/env"
}

display_usable() { xdpyinfo -display "$1" >/dev/null 2>&1; }

reg_add() { "$WINE64" reg add "$@" /f </dev/null >>"$state/wineboot.log" 2>&1 || true; }

# Debian's Wine looks for its own fonts in /usr/share/fonts itself, while fonts-wine puts
# them in /usr/share/wine/fonts: without them the caption buttons show the letters of
# Marlett's glyphs and "MS Shell Dlg" falls back to a wider face than on Windows, which
# clips labels. The prefix's own font folder is searched first, so they go there.
wine_font_dir() {
    local c
    for c in "$(dirname "$WINE64")/../../share/wine/fonts" /usr/share/wine/fonts; do
        [ -f "$c/marlett.ttf" ] && { echo "$c"; return; }
    done
    echo "wine-env: Wine's fonts not found (apt-get install fonts-wine)" >&2
    exit 1
}

# Faces with the widths they have on Windows. There "MS Shell Dlg", the controls' and
# menus' font, stands for Microsoft Sans Serif, whose widths are those of MS Sans Serif,
# which Wine's own MS Sans Serif has too; Liberation Sans has Arial's. Done before the
# prefix's processes start, since each reads the fonts once.
install_windows_fonts() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts from
    from=$(wine_font_dir)
    mkdir -p "$fonts"
    cp "$from"/* "$fonts/"
    reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'MS Shell Dlg' /d 'Microsoft Sans Serif'
    reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft Sans Serif' /d 'MS Sans Serif'
    reg_add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans'
}

start() {
    stop
    local display=${DISPLAY:-}
    if [ -z "$display" ] || ! display_usable "$display"; then
        # Several build trees may start at once: take the first display that comes up.
        local n=90 started=""
        while [ -z "$started" ] && [ "$n" -lt 140 ]; do
            if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
                Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 &
                echo $! >"$state/xvfb.pid"
                if wait_for 20 display_usable ":$n" && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; then
                    started=:$n
                else
                    kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
                fi
            fi
            n=$((n + 1))
        done
        if [ -z "$started" ]; then
            echo "wine-env: Xvfb could not start:" >&2
            cat "$state/xvfb.log" >&2
            exit 1
        fi
        display=$started
    fi
    export DISPLAY=$display

    mkdir -p "$WINEPREFIX"
    if ! "$WINESERVER" -p </dev/null >"$state/wineserver.log" 2>&1; then
        echo "wine-env: the wineserver could not start:" >&2
        cat "$state/wineserver.log" >&2
        exit 1
    fi
    local ready=$WINEPREFIX/drive_c/windows/system32/kernel32.dll
    if [ ! -f "$ready" ]; then
        echo "wine-env: creating the Wine prefix $WINEPREFIX"
        "$WINE64" wineboot -i </dev/null >"$state/wineboot.log" 2>&1 || true
        # A crashing program under test must fail its test, not wait for a click.
        reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
        # A virtual desktop draws title bars and a task bar with the tray, as on Windows,
        # without a window manager on the display.
        reg_add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
        reg_add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024
        install_windows_fonts
        # These settings take effect when the server and explorer start again.
        "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
        timeout 15 "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
        "$WINESERVER" -p </dev/null >>"$state/wineserver.log" 2>&1
        "$WINE64" wineboot </dev/null >>"$state/wineboot.log" 2>&1 || true
    else
        : >"$state/wineboot.log"
        # A prefix made before the fonts were part of it gets them now.
        [ -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] || install_windows_fonts
        "$WINE64" wineboot </dev/null >>"$state/wineboot.log" 2>&1 || true
    fi
    if [ ! -f "$ready" ]; then
        echo "wine-env: Wine could not create its prefix:" >&2
        cat "$state/wineboot.log" >&2
        exit 1
    fi
    {
        echo "export DISPLAY=$DISPLAY"
        echo "export WINEPREFIX=$WINEPREFIX"
        echo "export WINEDEBUG=-all"
        echo "export WINEDLLOVERRIDES=\"$WINEDLLOVERRIDES\""
        echo "export WINE64=$WINE64"
        echo "export WINESERVER=$WINESERVER"
    } >"$state/env"
}

case $action in
start) start ;;
stop) stop ;;
*) echo "usage: $0 start|stop BUILD_DIR" >&2; exit 2 ;;
esac
