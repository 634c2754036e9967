#!/usr/bin/env bash
# Installs the Debian packages that building, testing and playing need.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libvorbis-dev libogg-dev fonts-dejavu-core
  xvfb xdotool imagemagick x11-utils
  libgl1-mesa-dri libegl-mesa0 libegl1
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
