#!/usr/bin/env bash
# Runs every fuzz_* program of a fuzz build for SECONDS each, from its seed corpus.
# scripts/run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1 seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
for fuzzer in "$build"/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer"); name=${name#fuzz_}
  seeds="$root/fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  echo "fuzz $name: ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 "$work" > "$build/fuzz-$name.log" 2>&1; then
    tail -n 60 "$build/fuzz-$name.log"
    echo "fuzz $name: FAILED" >&2
    exit 1
  fi
  grep -E 'stat::number_of_executed_units' "$build/fuzz-$name.log" || true
  rm -rf "$work"
done
