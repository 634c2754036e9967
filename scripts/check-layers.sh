#!/usr/bin/env bash
# Fails when a file under src/ includes a header from a folder above its own. The folders, from
# the ground up, are listed in LAYERS. SDL headers stay inside platform/.
# Usage: check-layers.sh [SRC_DIR]   (default: the src/ beside this script)
#        check-layers.sh --self-test  (the check itself: an upward include must fail)
set -u
if [ "${1:-}" = "--self-test" ]; then
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' EXIT
  mkdir -p "$tree/core" "$tree/world" "$tree/game"
  printf '#include "core/a.h"\n#include <vector>\n' >"$tree/world/ok.cpp"
  "$0" "$tree" >/dev/null || { echo "self-test: a tree that only points down was refused"; exit 1; }
  printf '#include "world/level.h"\n' >"$tree/core/up.cpp"
  out=$("$0" "$tree") && { echo "self-test: an upward include passed"; exit 1; }
  grep -q 'core/up.cpp:1: includes "world/level.h"' <<<"$out" || { echo "self-test: unclear report: $out"; exit 1; }
  rm "$tree/core/up.cpp"
  printf '#include <SDL.h>\n' >"$tree/game/sdl.cpp"
  "$0" "$tree" >/dev/null && { echo "self-test: SDL outside platform passed"; exit 1; }
  echo "self-test: upward includes and SDL outside platform/ are refused"
  exit 0
fi
src=${1:-"$(dirname "$0")/../src"}
LAYERS=(platform core model resources world presentation actors game)

rank() {
  local i
  for i in "${!LAYERS[@]}"; do [ "${LAYERS[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}

status=0
while IFS= read -r file; do
  rel=${file#"$src"/}
  folder=${rel%%/*}
  own=$(rank "$folder")
  if [ "$own" -lt 0 ]; then
    echo "$rel: folder '$folder' is not in the list of layers"
    status=1
    continue
  fi
  while IFS=: read -r line quote header; do
    if [ "$quote" = "<" ]; then
      if [[ $header == SDL* ]] && [ "$folder" != platform ]; then
        echo "$rel:$line: includes <$header> outside platform/"
        status=1
      fi
      continue
    fi
    [[ $header == */* ]] || continue
    target=${header%%/*}
    other=$(rank "$target")
    if [ "$other" -lt 0 ]; then
      echo "$rel:$line: includes \"$header\" from unknown folder '$target'"
      status=1
    elif [ "$other" -gt "$own" ]; then
      echo "$rel:$line: includes \"$header\": $target/ stands above $folder/"
      status=1
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "$file" |
           sed -E 's/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*(["<])([^">]+)[">].*/\1:\2:\3/')
done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) | sort)

[ "$status" -eq 0 ] && echo "layers: every include of $(cd "$src" && pwd) points down"
exit "$status"
