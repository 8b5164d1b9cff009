#!/usr/bin/env bash
# The window's executable on the command line: --help and --version without a display,
# a usage error and a missing display as status 2 with one line on standard error, and
# Qt's own options passed to Qt.
set -uo pipefail
exe=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
mkdir -m 700 "$t/run"
export XDG_RUNTIME_DIR=$t/run
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
fail() {
    echo "window-command-line: $*" >&2
    exit 1
}
run() {
    status=0
    "$@" >"$t/out" 2>"$t/err" || status=$?
}
run "${nodisplay[@]}" "$exe" --version
[ "$status" = 0 ] && [ "$(cat "$t/out")" = "scourix 1.51" ] || fail "--version: $status"
run "${nodisplay[@]}" "$exe" -platform offscreen --help
[ "$status" = 0 ] && grep -q -- '--version' "$t/out" && [ ! -s "$t/err" ] || fail "--help: $status"
for args in "-platform offscreen --no-such-option" "-platform offscreen extra"; do
    # shellcheck disable=SC2086
    run "${nodisplay[@]}" "$exe" $args
    [ "$status" = 2 ] && [ "$(wc -l <"$t/err")" = 1 ] && grep -q -- '--help' "$t/err" ||
        fail "$args: status $status, said: $(cat "$t/err")"
done
run "${nodisplay[@]}" "$exe"
[ "$status" = 2 ] && [ "$(wc -l <"$t/err")" = 1 ] && grep -q '无法打开窗口' "$t/err" ||
    fail "without a display: status $status, said: $(cat "$t/err")"
run "${nodisplay[@]}" "$exe" -platform no-such-platform
[ "$status" = 2 ] && grep -q 'no-such-platform' "$t/err" || fail "an unknown platform: $status"
echo "window-command-line: passed"
