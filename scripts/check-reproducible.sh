#!/bin/bash
# Builds ZorvinEffects.exe twice from clean, in two different folders, for x86
# and x64, and checks that each pair is byte for byte the same.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for preset in win32 win64; do
  for build in first second-build; do
    cmake --preset "$preset" -B "$work/$preset-$build" -DZORVIN_TESTS=OFF >/dev/null
    cmake --build "$work/$preset-$build" --target ZorvinEffects -j 2 >/dev/null
  done
  a=$(sha256sum <"$work/$preset-first/bin/ZorvinEffects.exe")
  b=$(sha256sum <"$work/$preset-second-build/bin/ZorvinEffects.exe")
  if [ "$a" = "$b" ]; then
    echo "ok: $preset ZorvinEffects.exe is reproducible (sha256 ${a%% *})"
  else
    echo "FAIL: $preset ZorvinEffects.exe differs between two clean builds"
    cmp -l "$work/$preset-first/bin/ZorvinEffects.exe" "$work/$preset-second-build/bin/ZorvinEffects.exe" | head -5
    status=1
  fi
done
exit $status
