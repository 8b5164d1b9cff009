#!/usr/bin/env bash
# Makes the Debian packages (scripts/package.sh), and a second time from a copy of the
# sources in another folder: the packages must be byte-identical. Unpacks the window's
# package into a temporary root and checks its file list, control fields, desktop entries,
# polkit action, icons, manual pages and executable, and the command line's package (no Qt,
# run from where it was unpacked); runs the unpacked program's command
# line, then starts it offscreen with a temporary home, ends it with SIGTERM once its window
# is up, and checks that it closed cleanly: status 0, the pattern list in the user's
# settings folder, nothing written beside the program. Last, as root where mount namespaces
# can be had: the package laid over /usr in a namespace of its own, a system bus and polkitd
# started there, the program started through the menu's administrator wrapper under Xvfb
# and closed again.
# SCOURIX_PACKAGE_TEST_ONCE=1 leaves out the second build (quicker; no identity check).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

fail() {
    echo "package-test: $*" >&2
    exit 1
}

# Waits until the program with this pid has come up: SIGTERM is caught (bit 15 of SigCgt),
# and the start-up has settled in the event loop (no processor time used for a while).
wait_up() {
    local pid=$1 up=0 last= caught ticks
    for _ in $(seq 150); do
        kill -0 "$pid" 2>/dev/null || return 1
        caught=$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status")
        ticks=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
        if (((0x$caught >> 14) & 1)) && [ "$ticks" = "$last" ]; then
            up=$((up + 1))
            [ $up -ge 3 ] && return 0
        else
            up=0
        fi
        last=$ticks
        sleep 0.2
    done
    return 1
}

# Sends SIGTERM and sets `status` to the exit status; "" when it is still running 10 s later.
stop() {
    kill -TERM "$1"
    status=
    for _ in $(seq 100); do
        if ! kill -0 "$1" 2>/dev/null; then
            status=0
            wait "$1" || status=$?
            return
        fi
        sleep 0.1
    done
}

# The administrator's entry, in a mount namespace of its own (see the end of the script):
# $2 is the unpacked package, $3 a scratch folder.
if [ "${1:-}" = --admin-run ]; then
    unpacked=$2
    s=$3
    mount -t overlay overlay -o "lowerdir=$unpacked/usr:/usr" /usr
    mount -t tmpfs none /run/dbus 2>/dev/null || { mkdir -p /run/dbus && mount -t tmpfs none /run/dbus; }
    mount -t tmpfs none /root  # root's settings folder gets the pattern list
    dbus-daemon --system --fork --print-pid >"$s/dbus.pid"
    /usr/lib/polkit-1/polkitd --no-debug >"$s/polkitd.log" 2>&1 &
    polkitd=$!
    trap 'kill "$polkitd" "$(cat "$s/dbus.pid")" 2>/dev/null' EXIT
    for _ in $(seq 50); do
        dbus-send --system --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.NameHasOwner string:org.freedesktop.PolicyKit1 2>/dev/null |
            grep -q 'boolean true' && break
        sleep 0.2
    done
    # As pkexec leaves it: SHELL must be one of /etc/shells.
    SHELL=/bin/sh xvfb-run -a -s "-nolisten tcp" "$0" --admin-window "$s"
    exit
fi
if [ "${1:-}" = --admin-window ]; then
    s=$2
    /usr/lib/scourix/scourix-admin >"$s/admin.log" 2>&1 &
    pid=$!
    wait_up "$pid" || { cat "$s/admin.log" "$s/polkitd.log" >&2; fail "the program did not come up through pkexec"; }
    [ "$(stat -c %u "/proc/$pid")" = 0 ] || fail "not running as root"
    grep -qz '^PKEXEC_UID=' "/proc/$pid/environ" || fail "not started by pkexec"
    # The window's class is the one the desktop entries name in StartupWMClass.
    classes=$(for w in $(xwininfo -root -children | awk '$1 ~ /^0x/ { print $1 }'); do
        xprop -id "$w" WM_CLASS 2>/dev/null
    done)
    grep -q '"scourix", "Scourix"' <<<"$classes" || fail "no window of class Scourix: $classes"
    stop "$pid"
    [ "$status" = 0 ] || { cat "$s/admin.log" >&2; fail "through pkexec: exit status '$status'"; }
    [ -s /root/.config/scourix/TypeList.ini ] || fail "no TypeList.ini in root's settings folder"
    echo "package-test: started and closed through pkexec under Xvfb"
    exit
fi

# Installed and removed again by dpkg, with /usr, /etc and /var laid over with empty
# folders: $2 is the package, $3 a scratch folder that gets what changed.
if [ "${1:-}" = --install-run ]; then
    for d in usr etc var; do
        mkdir -p "$3/$d.upper" "$3/$d.work"
        mount -t overlay overlay -o "lowerdir=/$d,upperdir=$3/$d.upper,workdir=$3/$d.work" "/$d"
    done
    { dpkg -i "$2" && dpkg -r scourix; } >"$3/dpkg.log" 2>&1 || { cat "$3/dpkg.log" >&2; fail "dpkg"; }
    [ -z "$(dpkg-query -W scourix 2>/dev/null)" ] || fail "dpkg still knows the package"
    exit
fi

t=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    rm -rf "$t"
}
trap cleanup EXIT

# The policy's DTD, and what the administrator's run needs.
"$root/scripts/deps.sh" libxml2-utils polkitd pkexec dbus x11-utils xvfb xauth
debs_of() { sed -n '/^== packages$/,$p' "$1" | tail -n +2; }
"$root/scripts/package.sh" | tee "$t/package.log"
mapfile -t debs < <(debs_of "$t/package.log")
deb=$(printf '%s\n' "${debs[@]}" | grep '/scourix_[^/]*\.deb$')

# Two builds in two folders, the same bytes.
if [ "${SCOURIX_PACKAGE_TEST_ONCE:-}" != 1 ]; then
    mkdir -p "$t/elsewhere/sources"
    tar -C "$root" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$t/elsewhere/sources" -xf -
    SCOURIX_PACKAGE_BUILD_DIR= SCOURIX_BUILD_DIR=$t/elsewhere/out \
        "$t/elsewhere/sources/scripts/package.sh" >"$t/package2.log" 2>&1 ||
        { cat "$t/package2.log" >&2; fail "the second build failed"; }
    mapfile -t debs2 < <(debs_of "$t/package2.log")
    [ ${#debs2[@]} = ${#debs[@]} ] || fail "the second build made ${#debs2[@]} packages"
    for d in "${debs[@]}"; do
        cmp "$d" "$t/elsewhere/out/$(basename "$d")" || fail "$(basename "$d") differs between two builds"
    done
    rm -rf "$t/elsewhere"
    echo "package-test: two builds in two folders, identical packages"
fi

unpacked=$t/root
dpkg-deb -x "$deb" "$unpacked"
icons=""
for size in 16 22 24 32 48 64 128 256; do
    icons+="usr/share/icons/hicolor/${size}x$size
usr/share/icons/hicolor/${size}x$size/apps
usr/share/icons/hicolor/${size}x$size/apps/scourix.png
"
done
expected=$(LC_ALL=C sort <<EOF2
usr
usr/bin
usr/bin/scourix
usr/lib
usr/lib/scourix
usr/lib/scourix/scourix
usr/lib/scourix/scourix-admin
usr/lib/scourix/scourix-home.html
usr/share
usr/share/applications
usr/share/applications/org.example.scourix.admin.desktop
usr/share/applications/org.example.scourix.desktop
usr/share/doc
usr/share/doc/scourix
usr/share/doc/scourix/changelog.Debian.gz
usr/share/doc/scourix/copyright
usr/share/help
usr/share/help/zh_CN
usr/share/help/zh_CN/scourix
usr/share/help/zh_CN/scourix/scourix-home.html
usr/share/icons
usr/share/icons/hicolor
${icons}usr/share/icons/hicolor/scalable
usr/share/icons/hicolor/scalable/apps
usr/share/icons/hicolor/scalable/apps/scourix.svg
usr/share/man
usr/share/man/man1
usr/share/man/man1/scourix.1.gz
usr/share/man/zh_CN
usr/share/man/zh_CN/man1
usr/share/man/zh_CN/man1/scourix.1.gz
usr/share/metainfo
usr/share/metainfo/org.example.scourix.metainfo.xml
usr/share/polkit-1
usr/share/polkit-1/actions
usr/share/polkit-1/actions/org.example.scourix.policy
EOF2
)
actual=$(cd "$unpacked" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "unexpected file list"
fi

# Control fields: what the program runs, and the size as dpkg counts it (each file and link
# rounded up to whole KiB, 1 KiB for anything else).
[ "$(dpkg-deb -f "$deb" Recommends)" = "fonts-wqy-zenhei | fonts-noto-cjk, xdg-utils, pkexec" ] ||
    fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
grep -q 'libqt6widgets6' <<<"$(dpkg-deb -f "$deb" Depends)" || fail "Depends lacks Qt"
size=$(cd "$unpacked" && find . -mindepth 1 -printf '%y %s\n' |
    awk '{ n += ($1 == "f" || $1 == "l") ? int(($2 + 1023) / 1024) : 1 } END { print n }')
[ "$(dpkg-deb -f "$deb" Installed-Size)" = "$size" ] ||
    fail "Installed-Size $(dpkg-deb -f "$deb" Installed-Size), the files take $size"

# The command line's package: its files; what it needs, with no Qt anywhere; the window's
# package depends on it. Installed, both lie in one root.
cli_deb=$(printf '%s\n' "${debs[@]}" | grep '/scourix-cli_[^/]*\.deb$') || fail "no scourix-cli package"
cli_root=$t/cli-root
dpkg-deb -x "$cli_deb" "$cli_root"
expected=$(LC_ALL=C sort <<EOF2
usr
usr/bin
usr/bin/scourix-cli
usr/lib
usr/lib/scourix
usr/lib/scourix/TypeRead.ini
usr/lib/scourix/installed
usr/lib/scourix/locale
usr/lib/scourix/locale/zh_CN
usr/lib/scourix/locale/zh_CN/LC_MESSAGES
usr/lib/scourix/locale/zh_CN/LC_MESSAGES/scourix-cli.mo
usr/lib/scourix/scourix-cli
usr/share
usr/share/bash-completion
usr/share/bash-completion/completions
usr/share/bash-completion/completions/scourix-cli
usr/share/doc
usr/share/doc/scourix-cli
usr/share/doc/scourix-cli/changelog.Debian.gz
usr/share/doc/scourix-cli/copyright
usr/share/doc/scourix-cli/examples
usr/share/doc/scourix-cli/examples/scourix-stash.service
usr/share/doc/scourix-cli/examples/scourix-stash.timer
usr/share/man
usr/share/man/man1
usr/share/man/man1/scourix-cli.1.gz
usr/share/man/zh_CN
usr/share/man/zh_CN/man1
usr/share/man/zh_CN/man1/scourix-cli.1.gz
EOF2
)
actual=$(cd "$cli_root" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "scourix-cli: unexpected file list"
fi
grep -q 'scourix-cli (= ' <<<"$(dpkg-deb -f "$deb" Depends)" || fail "the window does not depend on scourix-cli"
! grep -qi 'qt' <<<"$(dpkg-deb -f "$cli_deb" Depends)" || fail "scourix-cli Depends: $(dpkg-deb -f "$cli_deb" Depends)"
cli=$cli_root/usr/lib/scourix/scourix-cli
[ "$(readlink "$cli_root/usr/bin/scourix-cli")" = "../lib/scourix/scourix-cli" ] || fail "scourix-cli: bin/ link"
if readelf -d "$cli" | grep NEEDED | grep -i 'libQt'; then fail "scourix-cli needs Qt (readelf -d)"; fi
if ldd "$cli" | grep -i 'libQt'; then fail "scourix-cli needs Qt (ldd)"; fi
for page in man/man1 man/zh_CN/man1; do
    zcat "$cli_root/usr/share/$page/scourix-cli.1.gz" |
        LC_ALL=C.UTF-8 groff -t -k -mandoc -Tutf8 -rLL=80n -ww 2>"$t/groff.err" >/dev/null
    [ ! -s "$t/groff.err" ] || { cat "$t/groff.err" >&2; fail "scourix-cli $page: groff warns"; }
done
# Run from the unpacked package: it lists a small tree, in English and, from the catalogue
# beside it, in Chinese.
mkdir -p "$t/clitree/sub" "$t/clihome"
touch "$t/clitree/a.tmp" "$t/clitree/sub/b.bak" "$t/clitree/keep.txt"
listed=$(HOME=$t/clihome LANG=C.UTF-8 "$cli" scan -p '*.tmp' -p '*.bak' "$t/clitree" 2>"$t/cli.err") ||
    fail "scourix-cli scan: status $?"
[ "$listed" = "$t/clitree/a.tmp
$t/clitree/sub/b.bak" ] || fail "scourix-cli scan listed: $listed"
grep -q '^Found 2 files' "$t/cli.err" || fail "scourix-cli summary: $(cat "$t/cli.err")"
HOME=$t/clihome LANG=zh_CN.UTF-8 "$cli" scan -p '*.tmp' "$t/clitree" 2>&1 >/dev/null |
    grep -q '找到 1 个文件' || fail "scourix-cli: no Chinese from the installed catalogue"
HOME=$t/clihome "$cli" types | grep -q '^\[x\] \*\.tmp$' || fail "scourix-cli types"
dpkg-deb -x "$cli_deb" "$unpacked"

# The executable: stripped, no compiler's comment, no path of the build.
exe=$unpacked/usr/lib/scourix/scourix
[ "$(readlink "$unpacked/usr/bin/scourix")" = "../lib/scourix/scourix" ] || fail "bin/ link"
[ -f "$unpacked/usr/lib/scourix/scourix-home.html" ] || fail "the home page's link leads nowhere"
grep -q 'XDG_CONFIG_HOME' "$unpacked/usr/lib/scourix/scourix-home.html" ||
    fail "the home page does not name the user's settings folder"
file -L "$exe" | grep -q ', stripped' || fail "executable not stripped"
sections=$(readelf -S -W "$exe")
! grep -q ' \.comment ' <<<"$sections" || fail "the executable has a .comment section"
! grep -rlaF "$root" "$unpacked" || fail "the build folder's path is in the package"

# Desktop entries: the window's is known to the dock; the administrator's runs the wrapper.
entry() { grep -qx "$2" "$unpacked/usr/share/applications/$1" || fail "$1 lacks $2"; }
for line in Exec=scourix TryExec=scourix StartupNotify=true StartupWMClass=Scourix Icon=scourix; do
    entry org.example.scourix.desktop "$line"
done
for line in Exec=/usr/lib/scourix/scourix-admin TryExec=pkexec "Name=Scourix (as administrator)" \
    "Name\[zh_CN\]=Scourix（管理员）"; do
    entry org.example.scourix.admin.desktop "$line"
done
[ -x "$unpacked/usr/lib/scourix/scourix-admin" ] || fail "the wrapper is not executable"

# The polkit action: valid, the administrator's password, the program's path, the display.
policy=$unpacked/usr/share/polkit-1/actions/org.example.scourix.policy
xmllint --noout --dtdvalid /usr/share/polkit-1/policyconfig-1.dtd "$policy" || fail "policy not valid"
xpath() { xmllint --xpath "string($1)" "$policy"; }
action='//action[@id="org.example.scourix.pkexec"]'
[ "$(xpath "$action/annotate[@key='org.freedesktop.policykit.exec.path']")" = /usr/lib/scourix/scourix ] ||
    fail "policy: exec.path"
[ "$(xpath "$action/annotate[@key='org.freedesktop.policykit.exec.allow_gui']")" = true ] ||
    fail "policy: allow_gui"
for when in any inactive active; do
    [ "$(xpath "$action/defaults/allow_$when")" = auth_admin ] || fail "policy: allow_$when"
done

# Icons in every size, and the scalable one.
for size in 16 22 24 32 48 64 128 256; do
    file -b "$unpacked/usr/share/icons/hicolor/${size}x$size/apps/scourix.png" |
        grep -q "PNG image data, $size x $size," || fail "icon ${size}x$size"
done
xmllint --noout "$unpacked/usr/share/icons/hicolor/scalable/apps/scourix.svg" || fail "SVG icon"

# Manual pages: compressed, an exit status table, and the Chinese page without a space
# after its commas and full stops where the source breaks a line.
for page in man/man1 man/zh_CN/man1; do
    gzip -t "$unpacked/usr/share/$page/scourix.1.gz" || fail "$page not gzip"
done
render() {
    zcat "$unpacked/usr/share/$1/scourix.1.gz" |
        LC_ALL=C.UTF-8 groff -t -k -mandoc -Tutf8 -rLL=80n -ww 2>"$t/groff.err" | col -b
    [ ! -s "$t/groff.err" ] || { cat "$t/groff.err" >&2; fail "$1: groff warns"; }
}
en=$(render man/man1)
zh=$(render man/zh_CN/man1)
table() { [ "$(sed -n "/^$1/,/^[^[:space:]]/p" <<<"$2" | grep -c '^[[:space:]]*scourix[[:space:]]*2[[:space:]]')" = 1 ]; }
table 'EXIT STATUS' "$en" || fail "man: exit status table"
table '退出状态' "$zh" || fail "zh_CN man: exit status table"
if grep -n '[，。、：；）] ' <<<"$zh" >&2; then
    fail "zh_CN man: a space after full-width punctuation (above)"
fi

# The command line: --help and --version without a display, usage errors, no display.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
for option in --help --version; do
    "${nodisplay[@]}" "$exe" "$option" >"$t/out" 2>&1 || fail "$option: status $?"
    grep -q 'scourix' "$t/out" || fail "$option printed: $(cat "$t/out")"
done
mkdir -p "$t/run"
chmod 700 "$t/run"
status=0
XDG_RUNTIME_DIR=$t/run QT_QPA_PLATFORM=offscreen "$exe" --no-such-option >"$t/out" 2>"$t/err" || status=$?
[ "$status" = 2 ] && [ "$(wc -l <"$t/err")" = 1 ] && grep -q -- '--help' "$t/err" ||
    fail "unknown option: status $status, said: $(cat "$t/err")"
status=0
"${nodisplay[@]}" "$exe" >"$t/out" 2>"$t/err" || status=$?
[ "$status" = 2 ] && [ "$(wc -l <"$t/err")" = 1 ] && grep -q '无法打开窗口' "$t/err" ||
    fail "without a display: status $status, said: $(cat "$t/err")"

# The program, offscreen through Qt's own option, in a home of its own.
snapshot() { (cd "$unpacked" && find . -printf '%p %s %T@\n' | LC_ALL=C sort); }
before=$(snapshot)
mkdir -p "$t/home" "$t/config" "$t/tmp"
HOME=$t/home XDG_CONFIG_HOME=$t/config XDG_RUNTIME_DIR=$t/run TMPDIR=$t/tmp \
    "${nodisplay[@]}" "$unpacked/usr/bin/scourix" -platform offscreen >"$t/log" 2>&1 &
pid=$!
wait_up "$pid" || { cat "$t/log" >&2; fail "the program did not come up"; }
stop "$pid"
[ -n "$status" ] || fail "still running 10 s after SIGTERM"
pid=
[ "$status" -eq 0 ] || { cat "$t/log" >&2; fail "exit status $status after SIGTERM"; }
[ -s "$t/config/scourix/TypeList.ini" ] || fail "no TypeList.ini in XDG_CONFIG_HOME"
[ "$(snapshot)" = "$before" ] || fail "the program wrote into its unpacked folder"
[ -z "$(ls -A "$t/tmp")" ] || fail "files left in TMPDIR: $(ls -A "$t/tmp")"

# Through the menu's administrator entry: pkexec, polkitd and a system bus of our own.
if [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; then
    mkdir -p "$t/admin"
    chmod 755 "$t" "$t/root"  # the package's files are read by polkitd's own user
    # A process namespace too: whatever was started there ends with it.
    unshare -m -p -f --mount-proc --propagation private "$0" --admin-run "$unpacked" "$t/admin" ||
        fail "the administrator's entry"
    # Removed, the package leaves nothing but dpkg's own records, and nothing to purge.
    mkdir -p "$t/install"
    unshare -m --propagation private "$0" --install-run "$deb" "$t/install" ||
        fail "install and remove"
    for d in usr etc var; do
        (cd "$t/install/$d.upper" && find . -mindepth 1 | sed 's|^\.||') | while read -r p; do
            [[ -e /$d$p || /$d$p == /var/lib/dpkg/* || /$d$p == /var/log/* ]] ||
                fail "left behind after removal: /$d$p"
        done
    done
    echo "package-test: installed and removed by dpkg, nothing left"
else
    echo "package-test: not root or no mount namespaces: not run as administrator nor installed"
fi
echo "package-test: passed ($deb)"
