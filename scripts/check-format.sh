#!/usr/bin/env bash
# Fails when a tracked C++ source differs from what the project's .clang-format gives.
# Prints the files to reformat (`clang-format -i FILE`).
set -euo pipefail
cd "$(dirname "$0")/.."
bad=$(git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run 2>&1 | grep -o '^[^:]*:[0-9]*:[0-9]*: warning' | cut -d: -f1 | sort -u || true)
if [ -n "$bad" ]; then
  echo "check-format: these files differ from .clang-format (run clang-format -i on them):" >&2
  printf '  %s\n' $bad >&2
  exit 1
fi
echo "check-format: every source follows .clang-format"
