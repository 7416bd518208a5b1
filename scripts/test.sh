#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the suite, a short run of
# each fuzzer, and the suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
# FUZZ_SECONDS (default 20) sets how long each fuzzer runs; 0 skips them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=${KELVOS_JOBS:-$(nproc)}
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen} SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

echo "== source format"
bash scripts/check-format.sh

echo "== build and test"
bash scripts/build.sh build -DKELVOS_WERROR=ON
ctest --test-dir build -j "$jobs" --output-on-failure

if [ "${FUZZ_SECONDS:-20}" != 0 ]; then
  echo "== fuzzers, ${FUZZ_SECONDS:-20} s each"
  CC=clang CXX=clang++ bash scripts/build.sh build-fuzz -DKELVOS_FUZZ=ON
  bash scripts/run-fuzzers.sh build-fuzz "${FUZZ_SECONDS:-20}"
fi

echo "== sanitizer build and test"
bash scripts/build.sh build-asan -DKELVOS_SANITIZE=ON -DKELVOS_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j "$jobs" --output-on-failure
