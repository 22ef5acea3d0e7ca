#!/bin/bash
# Measures under Wine, side by side in one run: start-up of ZorvinEffects.exe
# against a minimal one-window Win32 program built the same way (the floor),
# the time of a lookup and of a category switch in-process, and the exe sizes.
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
