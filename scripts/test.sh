#!/bin/bash
# Builds and runs every test: the core natively (under AddressSanitizer and
# UBSan), the page zorvin writes in headless Chromium, everything of the x64
# build under Wine, and everything of the x86 build (the shipping exe) under
# 32-bit Wine run by qemu's user-mode emulation; then, in a Debian 13 root, the
# native tests with its compilers and the x64 tests under its Wine 10; last,
# zorvin's Debian package.
# Installs what is missing first. Exits non-zero on any failure.
#
# Builds use every core; tests that are independent run side by side, one per
# core (the Windows tests each in a Wine session of their own). The fuzzer's
# minute runs on one core while the Windows builds take the rest.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

# Each stage's heading, and the time the one before it took.
stage_name= stage_start=$SECONDS start=$SECONDS
stage() {
  [ -n "$stage_name" ] && echo "-- $stage_name: $((SECONDS - stage_start)) s"
  stage_name=$1 stage_start=$SECONDS
  [ -n "$1" ] && echo "== $1"
  return 0
}

# The Windows tests' emulator notes each test that Wine failed to start (and
# started again): counted at the end.
rm -f build/*/wine-start-retries.log

stage "native"
cmake --preset native
cmake --build --preset native
ctest --preset native -j "$jobs"

stage "the release zorvin (the one installed and packaged)"
cmake --preset linux
cmake --build --preset linux

# The page against the zorvin users get: its 1,560 compares and the rest each
# start a process, which the sanitizers of the native build make ten times slower
# to start (zorvin's own tests ran under them above).
stage "the page in Chromium (Playwright, axe-core)"
ZORVIN_CLI=$PWD/build/linux/bin/zorvin scripts/test-page.sh

stage "fuzzing the lookups and the rendering (bounded): its build"
fuzz_log=build/fuzz/run.log
mkdir -p build/fuzz
scripts/fuzz.sh --build-only
scripts/fuzz.sh --no-build "${ZORVIN_FUZZ_SECONDS:-60}" >"$fuzz_log" 2>&1 &
fuzz_pid=$!

stage "win32 build"
cmake --preset win32
cmake --build --preset win32

stage "win64 build"
cmake --preset win64
cmake --build --preset win64

stage "fuzzing: the rest of its time"
fuzz_status=0
wait "$fuzz_pid" || fuzz_status=$?
cat "$fuzz_log"
[ "$fuzz_status" -eq 0 ]

stage "reproducible exes"
scripts/check-reproducible.sh

stage "win64 tests under Wine (the build's emulator starts and ends the displays and servers)"
ctest --preset win64 -j "$jobs"

stage "win32 tests under emulated 32-bit Wine"
cmake/wine32/namespace.sh build/win32/wineprefix-preload ctest --preset win32 -j "$jobs"

stage "Debian 13: the native tests with its compilers, the win64 tests under its Wine 10"
scripts/test-debian13.sh

stage "the Debian package: lintian, reproducible, installed and removed in throwaway roots"
tests/deb_test.sh
stage ""
echo "-- all stages: $((SECONDS - start)) s"
retries=0
for log in build/*/wine-start-retries.log; do
  [ -f "$log" ] || continue
  retries=$((retries + $(wc -l <"$log")))
  cat "$log"
done
echo "-- Wine start retries: $retries"
