#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build -DKELVOS_TESTS=OFF -DKELVOS_BENCH=OFF
exec ./build/kelvos "$@"
