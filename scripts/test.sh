#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the suite, a short run of
# each fuzzer, and the suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
# FUZZ_SECONDS (default 20) sets how long each fuzzer runs; 0 skips them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=${KELVOS_JOBS:-$(nproc)}
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen} SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

# Each step's time goes to the log, so a slow CI run shows where its time went.
step() {
  echo "== $* (at ${SECONDS} s)"
}
trap 'echo "== done in ${SECONDS} s"' EXIT

step "source format"
bash scripts/check-format.sh

step "build and test"
bash scripts/build.sh build -DKELVOS_WERROR=ON -DKELVOS_LINE_TABLES_ONLY=ON
ctest --test-dir build -j "$jobs" --output-on-failure

if [ "${FUZZ_SECONDS:-20}" != 0 ]; then
  step "fuzzers, ${FUZZ_SECONDS:-20} s each"
  CC=clang CXX=clang++ bash scripts/build.sh build-fuzz -DKELVOS_FUZZ=ON -DKELVOS_LINE_TABLES_ONLY=ON
  bash scripts/run-fuzzers.sh build-fuzz "${FUZZ_SECONDS:-20}"
fi

# clang for the sanitizer build: it compiles the instrumented tree about a third quicker than
# gcc. The whole-program runs turn the leak checker's thread-local scan off (tests/support/
# ChildProcess), which on this C library can read a garbage range after the world map was shown.
step "sanitizer build and test"
CC=clang CXX=clang++ bash scripts/build.sh build-asan -DKELVOS_SANITIZE=ON -DKELVOS_BENCH=OFF \
  -DKELVOS_WERROR=ON -DKELVOS_LINE_TABLES_ONLY=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j "$jobs" --output-on-failure
