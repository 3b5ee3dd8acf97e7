#!/bin/sh
# Runs a test program of the build tree at another screen resolution or in another
# system code page, both of which Wine takes only when a program starts:
#   run_at.sh BUILD_DIR DPI LOCALE PROGRAM ARGS...   (DPI or LOCALE "-": as it is)
build=$1 dpi=$2 locale=$3
shift 3
desktop='HKCU\Control Panel\Desktop'
if [ "$dpi" != - ]; then
    "$build/wine-run" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi
if [ "$locale" != - ]; then
    LANG=$locale LC_ALL=$locale "$build/wine-run" "$@"
else
    "$build/wine-run" "$@"
fi
status=$?
if [ "$dpi" != - ]; then
    "$build/wine-run" reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
fi
exit $status
