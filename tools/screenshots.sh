#!/usr/bin/env bash
# Regenerates the README's screenshots (docs/*.png) under Xvfb: the main window with a
# menu open, the tray popup, the quick search and the configuration window, with a few
# sample sessions, and the configuration window once more at 144 dpi.
# Uses its own build tree, so the tests' registry is never touched.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUARNEL_SCREENSHOT_BUILD_DIR:-$root/build-screenshots}

"$root/tools/build.sh" "$build" quarnel
command -v xdotool >/dev/null || { sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo;
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q xdotool; }

# A display of our own, so the pictures never show another program's windows.
unset DISPLAY
trap '"$root/tools/wine-env.sh" stop "$build"' EXIT
"$root/tools/wine-env.sh" start "$build"
. "$build/wine/env"

reg() { "$WINE64" reg "$@" </dev/null >/dev/null 2>&1; }

# Wine reads the resolution when its processes start, the desktop's included: a change
# takes a new start of the environment (on a display of its own again).
desktop='HKCU\Control Panel\Desktop'
at_dpi() {
    if [ "$1" = 96 ]; then reg delete "$desktop" /v LogPixels /f || true
    else reg add "$desktop" /v LogPixels /t REG_DWORD /d "$1" /f; fi
    unset DISPLAY
    "$root/tools/wine-env.sh" start "$build"
    . "$build/wine/env"
}
# A run that was cut short may have left the prefix at another resolution.
if reg query "$desktop" /v LogPixels; then at_dpi 96; fi
sessions='HKCU\Software\SimonTatham\PuTTY\Sessions'
program='HKCU\Software\SimonTatham\PuTTY\UlvasQuarnel'
reg delete "$sessions" /f || true
reg delete "$program" /f || true
reg add "$program" /v PuttyPfad /d 'C:\Program Files\PuTTY\putty.exe' /f
for s in 'web01:Webserver' 'web02:Webserver' 'db%20primary:Datenbanken' 'db%20replica:Datenbanken' \
         'router-core:Netzwerk' 'switch-etage3:Netzwerk' 'backup:' 'Default%20Settings:'; do
    name=${s%%:*} menu=${s#*:}
    reg add "$sessions\\$name" /v HostName /d "${name%%%*}.example.org" /f
    [ -z "$menu" ] || reg add "$sessions\\$name" /v UlvasQuarnel_Menu /d "$menu" /f
done

start_quarnel() {
    "$WINE64" "$build/quarnel.exe" </dev/null >>"$build/wine/quarnel.log" 2>&1 &
    wait_for_window "Quarnel V. 0.53"
    sleep 2 # the window is mapped before its event loop takes keys
}
wait_for_window() {
    local deadline=$(( $(date +%s) + 30 ))
    until xdotool search --name "$1" >/dev/null 2>&1; do
        [ "$(date +%s)" -lt "$deadline" ] || { echo "screenshots: no window '$1'" >&2; exit 1; }
        sleep 0.2
    done
}
shot() { # name geometry: waits for the screen to settle, then crops
    sleep 1
    import -window root -crop "$2" +repage "$root/docs/$1.png"
    echo "screenshots: docs/$1.png"
}
shot_window() { # name title: the window with a margin of the desktop around it
    local x y width height margin=12
    # xwininfo, since xdotool counts the position of Wine's windows twice.
    read -r x y width height < <(xwininfo -id "$(xdotool search --name "$2" | head -n 1)" | awk -F: '
        /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
        /Width/ { w = $2 } /Height/ { h = $2 } END { print x, y, w, h }')
    shot "$1" "$((width + 2 * margin))x$((height + 2 * margin))+$((x - margin))+$((y - margin))"
}
mkdir -p "$root/docs"
: >"$build/wine/quarnel.log"
start_quarnel

# The menu bar: F10 selects it, Right goes to the second title, Down opens it.
xdotool key F10 Right Down
shot main-window-menu 560x260+0+0
xdotool key Escape Escape

# The tray popup: a right click on the icon at the right end of the task bar.
import -window root "$build/wine/before-tray.png"
xdotool mousemove 1268 1012 click 3
sleep 0.5
xdotool key Down Down Right # opens the second title's submenu
shot tray-popup 420x230+860+794
xdotool key Escape Escape

# The quick search: its hotkey from anywhere, a few letters typed.
xdotool key ctrl+alt+p
wait_for_window "Quarnel Schnellsuche"
sleep 1
xdotool type --delay 150 "web"
shot quick-search 470x370+405+325
xdotool key Escape

# The configuration window, through DATEI > Quarnel konfigurieren.
xdotool key F10 Down Down Return
wait_for_window "Quarnel Konfiguration"
shot config-window 740x560+270+232

# The configuration window at 144 dpi, where every size is half as large again. The new
# start of the environment ends the program.
at_dpi 144
start_quarnel
xdotool key F10 Down Down Return
wait_for_window "Quarnel Konfiguration"
shot_window config-window-144dpi "Quarnel Konfiguration"
reg delete "$desktop" /v LogPixels /f
