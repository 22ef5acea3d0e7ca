#!/bin/bash
# Measures under Wine, side by side in one run: start-up of ZorvinEffects.exe
# against a minimal one-window Win32 program built the same way (the floor) and
# where the start-up's time goes, the time of a lookup and of a category switch
# in-process, and the exe sizes.
# Then, natively with hyperfine, zorvin's commands against a floor: a
# program that prints one line, built with the same compiler and flags; and
# preview and similar against zorvin level; the core's preview in-process. Last,
# the page zorvin writes, in Chromium (tests/browser/bench-page.js): its size,
# its load against the same page without its script, and each keystroke in Find.
# Usage: scripts/benchmark.sh [RUNS]   (default 15 start-ups of each)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target ZorvinEffects >/dev/null
done
cmake --build --preset win64 --target bench_driver >/dev/null
echo "exe sizes: x86 $(stat -c %s build/win32/bin/ZorvinEffects.exe) bytes, x64 $(stat -c %s build/win64/bin/ZorvinEffects.exe) bytes"
cmake/wine-session.sh --xvfb build/win64/wineprefix cmake/wine-run.sh build/win64/wineprefix \
  build/win64/bin/bench_driver.exe "${1:-15}"

echo "== zorvin, natively (hyperfine)"
cmake --preset linux >/dev/null
cmake --build --preset linux --target zorvin >/dev/null
flags=$(sed -n 's/^CMAKE_CXX_FLAGS_RELEASE:STRING=//p' build/linux/CMakeCache.txt)
# shellcheck disable=SC2086  # the flags are words
g++ -std=c++20 $flags tests/bench_cli_floor.cpp -o build/linux/bench_cli_floor
for preset in win32 win64; do cmake --build --preset "$preset" --target zorvin >/dev/null; done
echo "sizes: Linux zorvin $(stat -c %s build/linux/bin/zorvin) bytes (floor $(stat -c %s build/linux/bench_cli_floor)); \
zorvin.exe x86 $(stat -c %s build/win32/bin/zorvin.exe), x64 $(stat -c %s build/win64/bin/zorvin.exe) bytes"
hyperfine --shell=none --warmup 20 --runs "${ZORVIN_CLI_RUNS:-200}" --style basic --export-markdown build/linux/cli-bench.md \
  -n floor build/linux/bench_cli_floor \
  -n "level mp_toujane" "build/linux/bin/zorvin level mp_toujane" \
  -n "find e" "build/linux/bin/zorvin find e" \
  -n "export --format json" "build/linux/bin/zorvin export --format json" \
  -n "preview --size 256 --output" "build/linux/bin/zorvin preview mp_toujane --size 256 --output build/linux/bench-preview.png" \
  -n "similar mp_toujane" "build/linux/bin/zorvin similar mp_toujane" \
  -n "similar (a map)" "build/linux/bin/zorvin similar tests/maps/lit.map" >/dev/null
cat build/linux/cli-bench.md
# Against their floor, zorvin level, measured in the same run: preview at most
# 3 times it, similar at most 5 times.
python3 - build/linux/cli-bench.md <<'PY'
import re, sys
means = {}
for line in open(sys.argv[1]):
    cells = [c.strip().strip('`') for c in line.split('|')]
    if len(cells) > 2 and re.match(r'^[0-9.]+', cells[2]):
        means[cells[1]] = float(cells[2].split()[0])
level = means['level mp_toujane']
for name, target in (('preview --size 256 --output', 3), ('similar mp_toujane', 5), ('similar (a map)', 5)):
    print(f'{name}: {means[name]:.2f} ms, {means[name] / level:.1f} x zorvin level ({level:.2f} ms; target {target} x)')
PY
echo "== the core's preview, in-process"
cmake --build --preset linux --target bench_preview >/dev/null
build/linux/bin/bench_preview

echo "== the page, in Debian's Chromium (headless)"
page=build/linux/page.html
scripts/make-page.sh "$page"
tests/browser/install.sh
node tests/browser/bench-page.js "$page" "${ZORVIN_PAGE_RUNS:-15}"
