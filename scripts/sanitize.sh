#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs the
# whole test suite; any report fails it. "sanitize.sh thread" builds with ThreadSanitizer
# into build-tsan/ instead and runs the tests below the window layer, the threads of the
# scan among them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = thread ]; then
    export SCOURIX_BUILD_DIR=${SCOURIX_BUILD_DIR:-$root/build-tsan}
    export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
    exec "$root/scripts/test.sh" -DSCOURIX_SANITIZE_THREAD=ON -DCMAKE_BUILD_TYPE=Debug
fi
export SCOURIX_BUILD_DIR=${SCOURIX_BUILD_DIR:-$root/build-asan}
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
# Leaks inside the system's font and graphics libraries are theirs, not ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}
exec "$root/scripts/test.sh" -DSCOURIX_SANITIZE=ON -DSCOURIX_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug
