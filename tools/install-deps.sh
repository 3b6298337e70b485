#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Pinwhirl need, and any
# further ones named as arguments (fuzz/run.sh adds clang).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-dejavu-extra libpng-dev zlib1g-dev
  libgl-dev libopengl-dev libglx-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libgtest-dev libgmock-dev libbenchmark-dev
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get install -y --no-install-recommends "${missing[@]}"; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
