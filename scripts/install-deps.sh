#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Kelvos need.
# Only what is missing is installed, so a second run costs nothing.
set -euo pipefail

packages=(
  cmake ninja-build pkg-config g++ clang clang-format libclang-rt-14-dev libfuzzer-14-dev
  libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev libbox2d-dev uthash-dev
  libxml2-dev libpng-dev libjpeg-dev zlib1g-dev libfreetype-dev
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth fonts-dejavu-core
  librsvg2-dev libcairo2-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1; then
  SUDO=sudo
elif [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing and installing them needs root and there is no sudo: ${missing[*]}" >&2
  echo "install-deps: run this script as root (or with sudo)." >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
