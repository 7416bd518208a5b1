#!/usr/bin/env bash
# Runs every fuzz_* program of a fuzz build for SECONDS each, from its seed corpus.
# Each fuzzer is single-threaded, so up to KELVOS_JOBS (default: the core count) run at once.
# scripts/run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1 seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${KELVOS_JOBS:-$(nproc)}

run_one() {
  local fuzzer=$1 name work status=0
  name=$(basename "$fuzzer"); name=${name#fuzz_}
  work=$(mktemp -d)
  [ -d "$root/fuzz/corpus/$name" ] && cp -r "$root/fuzz/corpus/$name"/. "$work"/
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 "$work" > "$build/fuzz-$name.log" 2>&1 || status=$?
  rm -rf "$work"
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$build/fuzz-$name.log"
    echo "fuzz $name: FAILED" >&2
    return 1
  fi
  echo "fuzz $name: ${seconds}s, $(grep -o 'number_of_executed_units: [0-9]*' "$build/fuzz-$name.log" | grep -o '[0-9]*$') runs"
}

shopt -s nullglob
pids=() failed=0
for fuzzer in "$build"/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || failed=1; done
  run_one "$fuzzer" &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit "$failed"
