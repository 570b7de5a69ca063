#!/bin/sh
# Installs everything Kestrune needs to build, run and test, from Debian packages.
# Does nothing when every package is already there. Run as root (or through sudo).
set -eu

PACKAGES="
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsdl2-dev libstb-dev
  libcairo2-dev libpango1.0-dev libpng-dev libfreetype-dev libfontconfig-dev libharfbuzz-dev
  fonts-noto-core fonts-noto-extra fonts-noto-cjk fonts-dejavu-core
  fonts-comfortaa fonts-nanum-extra fonts-lemonada fonts-motoya-l-maruberi
  xvfb xauth xdotool x11-utils x11-apps sox
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
