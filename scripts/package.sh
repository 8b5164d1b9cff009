#!/usr/bin/env bash
# Installs what is missing, builds a release into build-package/ and makes the Debian
# package build/scourix_<version>-1_<arch>.deb with CPack, then checks it with lintian,
# appstreamcli and desktop-file-validate: an error from any of them fails the script.
# SCOURIX_PACKAGE_BUILD_DIR chooses the release's build folder, SCOURIX_BUILD_DIR where
# the package goes. The last line of output is the package's path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" dpkg-dev file lintian appstream desktop-file-utils
build=${SCOURIX_PACKAGE_BUILD_DIR:-$root/build-package}
out=${SCOURIX_BUILD_DIR:-$root/build}

# Debian's own compiler and linker flags, every hardening option included; their -O2
# stands (CMake's release default would add -O3).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cd "$root"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DSCOURIX_PACKAGE=ON \
    -DSCOURIX_BUILD_TESTS=OFF -DSCOURIX_BUILD_BENCH=OFF -DSCOURIX_BUILD_TOOLS=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j "$(nproc)"

rm -rf "$build/cpack"
(cd "$build" && cpack -G DEB -B "$build/cpack" >/dev/null)
made=("$build"/cpack/*.deb)
mkdir -p "$out"
deb=$out/$(basename "${made[0]}")
cp "${made[0]}" "$deb"

# dpkg-shlibdeps must have found the libraries.
depends=$(dpkg-deb -f "$deb" Depends)
if [ -z "$depends" ]; then
    echo "package.sh: no dependencies were computed (Depends: $depends)" >&2
    exit 1
fi

echo "== lintian"
lintian --fail-on error --display-info "$deb"
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
dpkg-deb -x "$deb" "$check"
echo "== appstreamcli validate"
appstreamcli validate --no-net "$check"/usr/share/metainfo/*.metainfo.xml
echo "== desktop-file-validate"
desktop-file-validate "$check"/usr/share/applications/*.desktop
echo "$deb"
