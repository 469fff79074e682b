#!/usr/bin/env bash
# Installs every Debian package Brevix needs to build, test and be looked at.
# Idempotent: packages already present are left alone. Needs root (or sudo).
set -euo pipefail

packages=(
  build-essential binutils cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  libpng-dev zlib1g-dev nlohmann-json3-dev libcli11-dev libnlopt-cxx-dev libcgal-dev qt6-speech-dev qt6-speech-flite-plugin ccache
  xvfb xauth x11-apps imagemagick poppler-utils
  openbox
  fonts-liberation fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
$sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
$sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
