#!/usr/bin/env bash
# Fails when code under src/ outside platform/ presents a frame, sleeps or waits for window
# messages anywhere but in the frame loop's own files (game/flow.cpp and its header): every screen
# is a state of that one loop.
# Usage: check-single-loop.sh [SRC_DIR]   (default: the src/ beside this script)
#        check-single-loop.sh --self-test  (the check itself: a second loop must fail)
set -u
LOOP_FILE="game/flow.cpp"
CALLS='\b(screen_flip|screen_flip_now|delay_ms|window_event|process_window_events|SDL_Delay)[[:space:]]*\('
if [ "${1:-}" = "--self-test" ]; then
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' EXIT
  mkdir -p "$tree/game" "$tree/platform" "$tree/actors"
  printf 'void loop() { screen_flip(); delay_ms(1); }\n' >"$tree/$LOOP_FILE"
  printf 'void screen_flip() { SDL_Delay(1); }\n' >"$tree/platform/screen.cpp"
  "$0" "$tree" >/dev/null || { echo "self-test: the loop's own presents were refused"; exit 1; }
  printf 'void dialog() {\n  while (true) screen_flip ();\n}\n' >"$tree/actors/dialogs.cpp"
  out=$("$0" "$tree") && { echo "self-test: a second loop passed"; exit 1; }
  grep -q 'actors/dialogs.cpp:2:' <<<"$out" || { echo "self-test: unclear report: $out"; exit 1; }
  echo "self-test: presenting, sleeping or waiting outside the loop is refused"
  exit 0
fi
src=${1:-"$(dirname "$0")/../src"}
status=0
while IFS= read -r file; do
  rel=${file#"$src"/}
  case $rel in platform/* | "$LOOP_FILE" | "${LOOP_FILE%.cpp}.h") continue ;; esac
  while IFS= read -r hit; do
    echo "$rel:$hit"
    status=1
  done < <(grep -nE "$CALLS" "$file" | grep -vE '^[0-9]+:[[:space:]]*//')
done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
[ "$status" -eq 0 ] || echo "only $LOOP_FILE may present, sleep or wait for window messages"
exit "$status"
