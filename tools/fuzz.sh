#!/usr/bin/env bash
# Fuzzes each libFuzzer target of tools/fuzz for a bounded time (seconds per target,
# default 60), starting from its checked-in corpus. New inputs go to a scratch corpus
# under the build tree, never into tools/fuzz/corpus; findings go to the artifacts
# folder. To keep the inputs that reach new code, merge them in by hand:
#   build/native/fuzz/<target>_fuzz -merge=1 -use_counters=0 \
#       tools/fuzz/corpus/<target> build/native/fuzz-scratch/<target>
#   tools/fuzz.sh [seconds] [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUARNEL_BUILD_DIR:-$root/build}/native
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(value_text registry_path catalogue_order start_plan)

"$root/tools/setup-debian.sh"
CXX=g++ cmake -S "$root/tests/native" -B "$build" >/dev/null
cmake --build "$build" --target quarnel_fuzz -j2 >/dev/null

failed=()
for t in "${targets[@]}"; do
    scratch=$build/fuzz-scratch/$t
    artifacts=$build/fuzz-artifacts/$t
    mkdir -p "$scratch" "$artifacts"
    echo "== $t: ${seconds}s"
    if ! "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$scratch" "$root/tools/fuzz/corpus/$t" \
        >"$build/fuzz-$t.log" 2>&1; then
        failed+=("$t")
        tail -n 40 "$build/fuzz-$t.log"
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$build/fuzz-$t.log" || true
    echo "   scratch corpus: $(find "$scratch" -type f | wc -l) inputs in $scratch"
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: FAILED: ${failed[*]} (inputs in $build/fuzz-artifacts/)" >&2
    exit 1
fi
echo "fuzz: no findings"
