#!/usr/bin/env bash
# Builds and runs the start-up benchmark in the build tree's private Wine environment.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUARNEL_BUILD_DIR:-$root/build}

"$root/tools/build.sh" "$build" benchmarks

trap '"$root/tools/wine-env.sh" stop "$build"' EXIT
"$root/tools/wine-env.sh" start "$build"
"$build/wine-run" "$build/bench/startup_bench.exe"
