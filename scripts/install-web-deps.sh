#!/usr/bin/env bash
# Installs the Debian packages the browser build needs (Emscripten, and what fetches and unpacks
# SDL's sources); with --browser also what its test needs (Chromium, Node and npm). Safe to run
# again: it only installs what is missing. Uses sudo only when not root.
set -euo pipefail

packages=(emscripten dpkg-dev python3)
if [ "${1:-}" = "--browser" ]; then
  packages+=(chromium)
  # Any node and npm will do (Debian's or another that is already there).
  command -v node >/dev/null 2>&1 || packages+=(nodejs)
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-web-deps: missing packages and neither root nor sudo. As root, run:" >&2
    echo "  apt-get update && apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
