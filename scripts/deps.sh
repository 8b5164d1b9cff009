#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when missing.
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libgtest-dev qt6-base-dev fonts-wqy-zenhei xvfb xauth
          libcli11-dev nlohmann-json3-dev gettext)
# The window tests run a session bus of their own.
packages+=(dbus-daemon)
# The Unicode Character Database: the name escapes' table of format characters and the
# matcher's case folding are made from it and checked against it.
packages+=(unicode-data)
# Error texts under a GB18030 locale are checked in a locale built from its sources, and the
# system's Chinese message catalogue.
packages+=(locales)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
