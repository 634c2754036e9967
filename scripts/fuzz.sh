#!/usr/bin/env bash
# Runs every fuzz target of a ZORVANE_FUZZ build for a set time each, on a scratch copy of its seed
# corpus (what the fuzzer adds stays in the build directory, never in tests/fuzz/corpus/).
# Usage: scripts/fuzz.sh BUILD_DIR SECONDS [TARGET...]   (no targets: all of them)
# Exits non-zero when any target found a crash, a sanitizer report, a time-out or too much memory,
# after naming the reproducer; a reproducer is run again with: BUILD_DIR/tests/fuzz/TARGET FILE
set -uo pipefail

build=$(cd "$1" && pwd)
seconds=$2
shift 2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
corpus_dir="$source_dir/tests/fuzz/corpus"
dictionary_dir="$source_dir/tests/fuzz/dictionaries"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for binary in "$build"/tests/fuzz/*_fuzz; do targets+=("$(basename "$binary" _fuzz)"); done
fi

# Leak checks stay off (also libFuzzer's, which would run an input twice whenever it allocates more
# than it frees): SDL's drivers keep allocations of their own until exit.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for target in "${targets[@]}"; do
  binary="$build/tests/fuzz/${target}_fuzz"
  scratch="$build/fuzz/corpus/$target"
  findings="$build/fuzz/findings/$target"
  log="$build/fuzz/logs/$target.log"
  mkdir -p "$scratch" "$findings" "$(dirname "$log")"
  cp -r "$corpus_dir/$target/." "$scratch/"
  before=$(ls -A "$findings" | wc -l)
  # The keys of a text format, so the fuzzer need not guess them.
  dictionary=()
  [ -f "$dictionary_dir/$target.dict" ] && dictionary=(-dict="$dictionary_dir/$target.dict")
  # -timeout: one input that takes this long is a hang, and a finding.
  "$binary" -max_total_time="$seconds" -timeout=25 -detect_leaks=0 -print_final_stats=1 "${dictionary[@]}" \
    -artifact_prefix="$findings/" "$scratch" >"$log" 2>&1
  status=$?
  stats=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)
  reproducer=$(ls -At "$findings" | head -n 1)
  if [ $status -ne 0 ] || [ "$(ls -A "$findings" | wc -l)" -gt "$before" ]; then
    tail -n 40 "$log"
    echo "FUZZ $target: FINDING (status $status); log $log"
    [ -n "$reproducer" ] && echo "  reproducer: $findings/$reproducer" &&
      echo "  run it again: $binary $findings/$reproducer"
    failed+=("$target")
  else
    echo "FUZZ $target: no finding in ${seconds} s: ${stats:-no statistics, see $log}"
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: findings in: ${failed[*]}" >&2
  exit 1
fi
