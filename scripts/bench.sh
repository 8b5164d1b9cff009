#!/usr/bin/env bash
# Installs the peers (bfs, fd-find) and what the build needs, builds the benchmarks with
# warnings as errors and runs each with its default tree, then repeats the figures scripts
# read. Trees go to $TMPDIR (else /tmp): a tmpfs there builds them many times faster.
# Extra arguments go to cmake's configure step; SCOURIX_BUILD_DIR chooses the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SCOURIX_BUILD_DIR:-$root/build}
"$root/scripts/deps.sh" bfs fd-find
cmake -S "$root" -B "$build" -G Ninja -DSCOURIX_WERROR=ON "$@" >/dev/null
cmake --build "$build" -j "$(nproc)" --target scan_bench list_bench delete_bench deep_bench cli_bench

log=$(mktemp)
trap 'rm -f "$log"' EXIT
failed=()
run() {
    echo
    echo "== $*"
    if ! "$build/bin/$@" 2>&1 | tee -a "$log"; then
        failed+=("$*")
    fi
}
run scan_bench
# The same on a cold disk: an ext4 image mounted again before each contender (as root).
run scan_bench --cold
run list_bench
run delete_bench
run deep_bench
run cli_bench
# A tenth of the default depth as well: a scan that cannot finish the default still shows
# its trend there.
run deep_bench 10000 300

echo
echo "== Figures"
grep -E '^(ratio|ms |cold:|max event gap|bytes-per-entry|deep-tree) ' "$log" || true
if [ ${#failed[@]} -gt 0 ]; then
    printf 'FAILED: %s\n' "${failed[@]}"
    exit 1
fi
