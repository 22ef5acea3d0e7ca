#!/bin/bash
# Builds the libFuzzer target (Clang, with AddressSanitizer and UBSan) and runs
# it for a bounded time, from a small seed corpus of real names.
# Usage: scripts/fuzz.sh [--build-only | --no-build] [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
build=1 run=1
case ${1:-} in
  --build-only) run=0; shift ;;
  --no-build) build=0; shift ;;
esac
seconds=${1:-60}
if [ "$build" = 1 ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
fi
[ "$run" = 1 ] || exit 0
corpus=build/fuzz/corpus
mkdir -p "$corpus"
printf 'mp_toujane' >"$corpus/level"
printf 'sp_hill400_assault' >"$corpus/typed-level"
printf 'Misc_Effects' >"$corpus/category"
printf 'Mm_Effects' >"$corpus/category-with-space"
printf '{\0}\0090\0001 .95 .95' >"$corpus/fields"
for map in tests/maps/*.map; do [ -s "$map" ] && cp "$map" "$corpus/"; done
status=0
build/fuzz/bin/fuzz_catalogs -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build/fuzz/ \
  "$corpus" >build/fuzz/fuzz.log 2>&1 || status=$?
grep -E '^(#[0-9]+\s+DONE|Done|INFO: Seed)' build/fuzz/fuzz.log || true
if [ "$status" -ne 0 ]; then
  tail -40 build/fuzz/fuzz.log
  echo "the fuzzer found a failing input: build/fuzz/crash-* (or leak-*, timeout-*)"
fi
exit "$status"
