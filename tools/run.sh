#!/usr/bin/env bash
# Builds Quarnel and starts it under Wine (on a virtual display when there is none),
# leaving a screenshot in build/quarnel.png. The program runs until it is ended
# ("DATEI > Beenden"); the private Wine environment is stopped after it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUARNEL_BUILD_DIR:-$root/build}

"$root/tools/build.sh" "$build" quarnel

trap '"$root/tools/wine-env.sh" stop "$build"' EXIT
"$root/tools/wine-env.sh" start "$build"
. "$build/wine/env"

"$WINE64" "$build/quarnel.exe" </dev/null >"$build/wine/quarnel.log" 2>&1 &
quarnel=$!
# Wait until a window of the program is mapped, then take the screenshot.
deadline=$(( $(date +%s) + 30 ))
until xwininfo -root -tree 2>/dev/null | grep -q '"Quarnel'; do
    if [ "$(date +%s)" -ge "$deadline" ]; then
        echo "run: no Quarnel window appeared within 30 s" >&2
        break
    fi
    sleep 0.2
done
sleep 1 # let the window finish painting before the screenshot
import -window root "$build/quarnel.png" && echo "run: screenshot in $build/quarnel.png"
echo "run: Quarnel is running on display $DISPLAY; end it with DATEI > Beenden."
wait "$quarnel" || true
