#!/bin/bash
# Builds and runs every test: the core natively (under AddressSanitizer and
# UBSan), the page zorvin writes in headless Chromium, everything of the x64
# build under Wine, and everything of the x86 build (the shipping exe) under
# 32-bit Wine run by qemu's user-mode emulation.
# Installs what is missing first. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== native"
cmake --preset native
cmake --build --preset native
ctest --preset native

echo "== the page in Chromium (Playwright, axe-core)"
scripts/test-page.sh

echo "== fuzzing the lookups and the rendering (bounded)"
scripts/fuzz.sh "${ZORVIN_FUZZ_SECONDS:-60}"

echo "== win32"
cmake --preset win32
cmake --build --preset win32

echo "== win64"
cmake --preset win64
cmake --build --preset win64

echo "== exe formats"
check_format() {  # FILE PATTERN
  local what
  what=$(file -b "$1")
  echo "$1: $what"
  [[ $what == $2* ]] || { echo "unexpected format for $1" >&2; exit 1; }
}
for exe in build/win64/bin/*.exe; do check_format "$exe" "PE32+ executable"; done
for exe in build/win32/bin/*.exe; do check_format "$exe" "PE32 executable"; done

echo "== reproducible exes"
scripts/check-reproducible.sh

echo "== win64 tests under Wine (the build's emulator starts and ends the display and server)"
ctest --preset win64

echo "== win32 tests under emulated 32-bit Wine"
cmake/wine-session.sh --xvfb --x86 build/win32/wineprefix ctest --preset win32
