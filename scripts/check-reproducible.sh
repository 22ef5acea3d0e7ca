#!/bin/bash
# Builds ZorvinEffects.exe once more from clean, in another folder, for x86
# and x64, and checks that each is byte for byte the exe of the preset's own
# build (build/win32, build/win64; built first when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for preset in win32 win64; do
  ours=build/$preset/bin/ZorvinEffects.exe
  if [ ! -f "$ours" ]; then
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target ZorvinEffects >/dev/null
  fi
  cmake --preset "$preset" -B "$work/$preset" >/dev/null
  cmake --build "$work/$preset" --target ZorvinEffects >/dev/null
  a=$(sha256sum <"$ours")
  b=$(sha256sum <"$work/$preset/bin/ZorvinEffects.exe")
  if [ "$a" = "$b" ]; then
    echo "ok: $preset ZorvinEffects.exe is reproducible (sha256 ${a%% *})"
  else
    echo "FAIL: $preset ZorvinEffects.exe differs between two clean builds"
    cmp -l "$ours" "$work/$preset/bin/ZorvinEffects.exe" | head -5
    status=1
  fi
done
exit $status
