#!/bin/bash
# Builds the x64 program and starts it under Wine: on your display when
# $DISPLAY is set, otherwise on a virtual one (Xvfb), where it runs unseen
# until you end it with Ctrl+C. Installs what is missing first (as root).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target ZorvinEffects

exe=build/win64/bin/ZorvinEffects.exe
if [ -n "${DISPLAY:-}" ]; then
  exec cmake/wine-session.sh build/win64/wineprefix-desktop cmake/wine-run.sh build/win64/wineprefix-desktop "$exe"
fi
echo "No \$DISPLAY: running on a virtual display (scripts/screenshots.sh shows what it looks like)."
exec cmake/wine-session.sh --xvfb build/win64/wineprefix cmake/wine-run.sh build/win64/wineprefix "$exe"
