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

exec bash "$(dirname "$0")/install-deps.sh" "${packages[@]}"
