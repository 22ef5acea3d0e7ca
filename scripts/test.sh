#!/bin/bash
# Builds and runs every test: the core natively (under AddressSanitizer and
# UBSan), the page zorvin writes in headless Chromium, everything of the x64
# build under Wine, and everything of the x86 build (the shipping exe) under
# 32-bit Wine run by qemu's user-mode emulation; then, in a Debian 13 root, the
# native tests with its compilers and the x64 tests under its Wine 10; last,
# zorvin's Debian package.
# Installs what is missing first. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# Each stage's heading, and the time the one before it took.
stage_name= stage_start=$SECONDS
stage() {
  [ -n "$stage_name" ] && echo "-- $stage_name: $((SECONDS - stage_start)) s"
  stage_name=$1 stage_start=$SECONDS
  [ -n "$1" ] && echo "== $1"
  return 0
}

stage "native"
cmake --preset native
cmake --build --preset native
ctest --preset native

stage "the page in Chromium (Playwright, axe-core)"
scripts/test-page.sh

stage "fuzzing the lookups and the rendering (bounded)"
scripts/fuzz.sh "${ZORVIN_FUZZ_SECONDS:-60}"

stage "win32"
cmake --preset win32
cmake --build --preset win32

stage "win64"
cmake --preset win64
cmake --build --preset win64

stage "exe formats"
check_format() {  # FILE PATTERN
  local what
  what=$(file -b "$1")
  echo "$1: $what"
  [[ $what == $2* ]] || { echo "unexpected format for $1" >&2; exit 1; }
}
for exe in build/win64/bin/*.exe; do check_format "$exe" "PE32+ executable"; done
for exe in build/win32/bin/*.exe; do check_format "$exe" "PE32 executable"; done

stage "reproducible exes"
scripts/check-reproducible.sh

stage "win64 tests under Wine (the build's emulator starts and ends the display and server)"
ctest --preset win64

stage "win32 tests under emulated 32-bit Wine"
cmake/wine-session.sh --xvfb --x86 build/win32/wineprefix ctest --preset win32

stage "Debian 13: the native tests with its compilers, the win64 tests under its Wine 10"
scripts/test-debian13.sh

stage "the Debian package: lintian, reproducible, installed and removed in throwaway roots"
tests/deb_test.sh
stage ""
