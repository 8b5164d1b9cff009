#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Without a display it runs
# under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
exe=${SCOURIX_BUILD_DIR:-$root/build}/bin/scourix
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting under Xvfb."
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$exe"
fi
exec "$exe"
