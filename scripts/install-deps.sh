#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Kelvos need.
# Only what is missing is installed, so a second run costs nothing.
set -euo pipefail

packages=(
  cmake ninja-build pkg-config g++ clang clang-format
  libsdl2-dev libsdl2-mixer-dev libbox2d-dev
  libxml2-dev libpng-dev libjpeg-dev zlib1g-dev libfreetype-dev
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth fonts-dejavu-core
  librsvg2-dev libcairo2-dev
)

SUDO=""
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1; then
  SUDO=sudo
fi
updated=false

# install_missing PACKAGE...: installs those of the packages that are not installed yet.
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ] && [ -z "$SUDO" ]; then
    echo "install-deps: these packages are missing and installing them needs root and there is no sudo: ${missing[*]}" >&2
    echo "install-deps: run this script as root (or with sudo)." >&2
    exit 1
  fi
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if [ "$updated" = false ]; then
    $SUDO apt-get update -qq
    updated=true
  fi
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"

# The fuzzers need the sanitizer runtime and libFuzzer of the clang that is installed, whatever
# its version.
clang_major=$(clang -dumpversion | cut -d. -f1)
if [ -z "$clang_major" ]; then
  echo "install-deps: cannot tell the version of clang" >&2
  exit 1
fi
install_missing "libclang-rt-${clang_major}-dev" "libfuzzer-${clang_major}-dev"
