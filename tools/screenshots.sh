#!/usr/bin/env bash
# Regenerates the README's screenshots (docs/*.png) under Xvfb: the main window with a
# menu open, the tray popup, the quick search and the configuration window, with a few sample sessions.
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

"$WINE64" "$build/quarnel.exe" </dev/null >"$build/wine/quarnel.log" 2>&1 &
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
mkdir -p "$root/docs"
wait_for_window "Quarnel V. 0.53"
sleep 2 # the window is mapped before its event loop takes keys

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

xdotool key F10 Down Up Return # DATEI > Beenden (the last item)
