#!/usr/bin/env bash
# Builds and runs the start-up benchmark in the build tree's private Wine environment.
# Wine and everything it starts (wineserver, Xvfb, explorer, the programs timed) run on
# one processor, QUARNEL_BENCH_CPU or else the last one: nearly every figure is made of
# round trips to the wineserver, and one between two processors of this machine takes
# three to four times as long as one on the same processor. Left to the scheduler,
# which wakes the wineserver wherever a processor is idle, a run got one or the other,
# and its figures with it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUARNEL_BUILD_DIR:-$root/build}
cpu=${QUARNEL_BENCH_CPU:-$(($(nproc) - 1))}

"$root/tools/build.sh" "$build" benchmarks

trap '"$root/tools/wine-env.sh" stop "$build"' EXIT
taskset -c "$cpu" "$root/tools/wine-env.sh" start "$build"
# Other work on the machine stretches every figure: the load average says how much.
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg); Wine on processor $cpu"
taskset -c "$cpu" "$build/wine-run" "$build/bench/startup_bench.exe"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
