#!/usr/bin/env bash
# Installs what is missing, builds a release into build-package/ and makes the Debian
# packages with CPack into build/ (scourix_<version>-1_<arch>.deb, one per package), then
# checks each with lintian (pedantic: any finding but initial-upload-closes-no-bugs fails),
# appstreamcli and desktop-file-validate.
# SCOURIX_PACKAGE_BUILD_DIR chooses the release's build folder, SCOURIX_BUILD_DIR where
# the packages go. The output ends with a line "== packages" and their paths, one a line.
# The packages are reproducible: the time in them is the changelog's, and no path of the
# folders the build ran in gets into them (with the build folder in the sources, as by
# default: generated files name the sources by their path relative to it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" dpkg-dev file lintian appstream desktop-file-utils qt6-svg-dev \
    libxml2-utils
build=${SCOURIX_PACKAGE_BUILD_DIR:-$root/build-package}
out=${SCOURIX_BUILD_DIR:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)

SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$root/packaging/changelog.Debian" -STimestamp)
export SOURCE_DATE_EPOCH
# Debian's own compiler and linker flags, every hardening option included; their -O2
# stands (CMake's release default would add -O3). They map the source folder (the current
# one) to "."; the build folder is mapped too, wherever it is.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cd "$root"
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cxxflags+=" -ffile-prefix-map=$build=build-package"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DSCOURIX_PACKAGE=ON \
    -DSCOURIX_BUILD_TESTS=OFF -DSCOURIX_BUILD_BENCH=OFF -DSCOURIX_BUILD_TOOLS=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j "$(nproc)"

rm -rf "$build/cpack"
(cd "$build" && cpack -G DEB -B "$build/cpack" >/dev/null)
mkdir -p "$out"
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
# CPack's Installed-Size is about twice the files' size: each package is laid out again and
# built with dpkg-deb, the size counted as dpkg counts it (each file and link rounded up to
# whole KiB, 1 KiB for anything else). dpkg-deb takes the time in the archive from
# SOURCE_DATE_EPOCH too.
debs=()
for made in "$build"/cpack/*.deb; do
    deb=$out/$(basename "$made")
    rm -rf "$check/raw"
    dpkg-deb -R "$made" "$check/raw"
    size=$(cd "$check/raw" && find . -mindepth 1 -path ./DEBIAN -prune -o -printf '%y %s\n' |
        awk '{ n += ($1 == "f" || $1 == "l") ? int(($2 + 1023) / 1024) : 1 } END { print n }')
    sed -i "s/^Installed-Size: .*/Installed-Size: $size/" "$check/raw/DEBIAN/control"
    dpkg-deb --root-owner-group -Zxz -b "$check/raw" "$deb" >/dev/null
    debs+=("$deb")
done

for deb in "${debs[@]}"; do
    echo "== $(basename "$deb")"
    # dpkg-shlibdeps must have found the libraries.
    if [ -z "$(dpkg-deb -f "$deb" Depends)" ]; then
        echo "package.sh: no dependencies were computed for $deb" >&2
        exit 1
    fi
    echo "== lintian"
    lintian --pedantic --display-info --fail-on error,warning,info,pedantic \
        --suppress-tags initial-upload-closes-no-bugs "$deb"
    rm -rf "$check/root"
    dpkg-deb -x "$deb" "$check/root"
    if compgen -G "$check/root/usr/share/metainfo/*.xml" >/dev/null; then
        echo "== appstreamcli validate"
        appstreamcli validate --no-net "$check"/root/usr/share/metainfo/*.metainfo.xml
    fi
    if compgen -G "$check/root/usr/share/applications/*.desktop" >/dev/null; then
        echo "== desktop-file-validate"
        desktop-file-validate "$check"/root/usr/share/applications/*.desktop
    fi
done
echo "== packages"
printf '%s\n' "${debs[@]}"
