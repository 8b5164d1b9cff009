#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each for a while.
# Usage: scripts/fuzz.sh [seconds per target]   (default 60; FUZZ_JOBS targets at once)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
jobs=${FUZZ_JOBS:-1}
"$root/scripts/deps.sh" clang libclang-rt-14-dev
build=${SCOURIX_FUZZ_BUILD_DIR:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DSCOURIX_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

corpora=$build/corpora
mkdir -p "$corpora"
status=0
run() {
    local name=$1
    mkdir -p "$corpora/$name"
    echo "== fuzz_$name for ${seconds}s"
    if ! "$build/bin/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/fuzz_$name-" "$corpora/$name" >"$build/fuzz_$name.log" 2>&1; then
        echo "fuzz_$name FAILED; see $build/fuzz_$name.log"
        tail -n 40 "$build/fuzz_$name.log"
        return 1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/fuzz_$name.log" || true
}
pids=()
for name in TypeList Gb18030 Wildcard SortOrder; do
    run "$name" &
    pids+=($!)
    if [ ${#pids[@]} -ge "$jobs" ]; then
        wait "${pids[0]}" || status=1
        pids=("${pids[@]:1}")
    fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
