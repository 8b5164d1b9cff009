#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every test. Extra
# arguments go to cmake's configure step; SCOURIX_BUILD_DIR chooses the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" -DSCOURIX_WERROR=ON "$@"
cd "${SCOURIX_BUILD_DIR:-$root/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
