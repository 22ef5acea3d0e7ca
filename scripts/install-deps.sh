#!/bin/bash
# Installs what building and testing need on Debian 12 (run as root).
# Idempotent: does nothing when every package is already there.
set -euo pipefail

packages=(
  cmake make g++ googletest file python3       # native build and tests
  clang libclang-rt-14-dev                     # the fuzzer (libFuzzer)
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix  # Windows cross builds
  wine64 xvfb xauth                            # running the x64 exe and its tests
  fonts-wine fonts-liberation2                 # Windows' UI faces (Wine's own) and a scalable stand-in
  icoutils                                     # reading resources back out of the exes
  imagemagick xdotool                          # artwork and screenshots
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} (run this script as root to install them)" >&2
  exit 1
fi
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
