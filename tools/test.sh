#!/usr/bin/env bash
# Builds everything and runs every test: the Windows build under Wine, then the
# window-free code built natively (unit tests under the sanitizers, fuzz targets on
# their corpus). Ends with both ctest summaries; extra args go to both ctest runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUARNEL_BUILD_DIR:-$root/build}
native=$build/native

"$root/tools/build.sh" "$build"
CXX=g++ cmake -S "$root/tests/native" -B "$native" >/dev/null
cmake --build "$native" -j"$(nproc)"

trap '"$root/tools/wine-env.sh" stop "$build"' EXIT
"$root/tools/wine-env.sh" start "$build"
status=0
ctest --test-dir "$build" --output-on-failure --timeout 300 "$@" || status=$?
echo "== native (sanitizers, fuzz corpora)"
ctest --test-dir "$native" --output-on-failure --timeout 120 "$@" || status=$?
[ "$status" -eq 0 ] || echo "test: FAILED (see the ctest summaries above)" >&2
exit "$status"
