#!/usr/bin/env bash
# Builds, then starts the program's windows under Xvfb and saves PNG pictures of the main
# window after start-up, after a scan of a small sample tree, and of the information window
# showing the scan report. Usage: scripts/screenshot.sh [output folder] (default screenshots/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/screenshots}")
"$root/scripts/deps.sh"
"$root/scripts/build.sh" >/dev/null
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1280x800x24" "${SCOURIX_BUILD_DIR:-$root/build}/bin/scourix_screens" "$out"
