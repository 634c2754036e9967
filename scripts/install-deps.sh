#!/usr/bin/env bash
# Installs the Debian packages that building, testing and playing need, or the packages named as
# arguments (scripts/install-web-deps.sh names the browser build's).
# Safe to run again: it only installs what is missing. Uses sudo only when not root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libvorbis-dev libogg-dev fonts-dejavu-core
  xvfb xdotool imagemagick x11-utils
  libgl1-mesa-dri libegl-mesa0 libegl1
  clang libclang-rt-14-dev
)
[ $# -gt 0 ] && packages=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
  echo "install-deps: no apt-get here; install these packages (Debian names) yourself: ${missing[*]}" >&2
  exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: missing packages and neither root nor sudo. As root, run:" >&2
    echo "  apt-get update && apt-get install ${missing[*]}" >&2
    echo "(or install sudo as root: apt-get install sudo), then run make again." >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
