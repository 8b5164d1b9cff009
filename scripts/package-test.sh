#!/usr/bin/env bash
# Makes the Debian package (scripts/package.sh), unpacks it into a temporary root and
# checks its file list; then starts the unpacked program offscreen with a temporary home,
# ends it with SIGTERM once its window is up, and checks that it closed cleanly: status 0,
# the pattern list in the user's settings folder, nothing written beside the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

t=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    rm -rf "$t"
}
trap cleanup EXIT
fail() {
    echo "package-test: $*" >&2
    exit 1
}

"$root/scripts/package.sh" | tee "$t/package.log"
deb=$(tail -n 1 "$t/package.log")
unpacked=$t/root
dpkg-deb -x "$deb" "$unpacked"
expected="usr
usr/bin
usr/bin/scourix
usr/lib
usr/lib/scourix
usr/lib/scourix/TypeRead.ini
usr/lib/scourix/installed
usr/lib/scourix/scourix
usr/lib/scourix/scourix-home.html
usr/share
usr/share/applications
usr/share/applications/org.example.scourix.desktop
usr/share/doc
usr/share/doc/scourix
usr/share/doc/scourix/changelog.Debian.gz
usr/share/doc/scourix/copyright
usr/share/icons
usr/share/icons/hicolor
usr/share/icons/hicolor/256x256
usr/share/icons/hicolor/256x256/apps
usr/share/icons/hicolor/256x256/apps/scourix.png
usr/share/icons/hicolor/48x48
usr/share/icons/hicolor/48x48/apps
usr/share/icons/hicolor/48x48/apps/scourix.png
usr/share/man
usr/share/man/man1
usr/share/man/man1/scourix.1.gz
usr/share/man/zh_CN
usr/share/man/zh_CN/man1
usr/share/man/zh_CN/man1/scourix.1.gz
usr/share/metainfo
usr/share/metainfo/org.example.scourix.metainfo.xml"
actual=$(cd "$unpacked" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "unexpected file list"
fi
[ "$(readlink "$unpacked/usr/bin/scourix")" = "../lib/scourix/scourix" ] || fail "bin/ link"
file -L "$unpacked/usr/bin/scourix" | grep -q ', stripped' || fail "executable not stripped"
identify() { file -b "$unpacked/usr/share/icons/hicolor/$1/apps/scourix.png"; }
identify 48x48 | grep -q '48 x 48' && identify 256x256 | grep -q '256 x 256' || fail "icon sizes"
for page in man/man1 man/zh_CN/man1; do
    gzip -t "$unpacked/usr/share/$page/scourix.1.gz" || fail "$page not gzip"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = "fonts-wqy-zenhei | fonts-noto-cjk" ] || fail "Recommends"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks Qt"

# The program, offscreen, in a home of its own.
snapshot() { (cd "$unpacked" && find . -printf '%p %s %T@\n' | LC_ALL=C sort); }
before=$(snapshot)
mkdir -p "$t/home" "$t/config" "$t/tmp" "$t/run"
chmod 700 "$t/run"
HOME=$t/home XDG_CONFIG_HOME=$t/config XDG_RUNTIME_DIR=$t/run TMPDIR=$t/tmp QT_QPA_PLATFORM=offscreen \
    "$unpacked/usr/bin/scourix" >"$t/log" 2>&1 &
pid=$!
# Up: SIGTERM is caught (bit 15 of SigCgt), and the start-up has settled in the event loop
# (no processor time used for a while).
up=0
last=
for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    caught=$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status")
    ticks=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    if (((0x$caught >> 14) & 1)) && [ "$ticks" = "$last" ]; then
        up=$((up + 1))
        [ $up -ge 3 ] && break
    else
        up=0
    fi
    last=$ticks
    sleep 0.2
done
[ $up -ge 3 ] || { cat "$t/log" >&2; fail "the program did not come up"; }
kill -TERM "$pid"
status=
for _ in $(seq 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
        status=0
        wait "$pid" || status=$?
        break
    fi
    sleep 0.1
done
[ -n "$status" ] || fail "still running 10 s after SIGTERM"
pid=
[ "$status" -eq 0 ] || { cat "$t/log" >&2; fail "exit status $status after SIGTERM"; }
[ -s "$t/config/scourix/TypeList.ini" ] || fail "no TypeList.ini in XDG_CONFIG_HOME"
[ "$(snapshot)" = "$before" ] || fail "the program wrote into its unpacked folder"
[ -z "$(ls -A "$t/tmp")" ] || fail "files left in TMPDIR: $(ls -A "$t/tmp")"
echo "package-test: passed ($deb)"
