#!/bin/bash
# Makes the release archives build/ZorvinEffects-<version>-win32.zip and
# -win64.zip, each holding ZorvinEffects.exe, README.md and LICENSE.txt.
# Builds both exes first. The archives carry fixed dates, so the same exes
# give the same archives.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  version=$(cat "build/$preset/version.txt")  # from the project's version, by the configure step
  cmake --build --preset "$preset" --target ZorvinEffects >/dev/null
  archive=build/ZorvinEffects-$version-$preset.zip
  python3 - "$archive" "build/$preset/bin/ZorvinEffects.exe" README.md LICENSE.txt <<'PY'
import sys, zipfile
archive, *files = sys.argv[1:]
with zipfile.ZipFile(archive, 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as out:
    for path in files:
        entry = zipfile.ZipInfo(path.rsplit('/', 1)[-1], date_time=(2026, 1, 1, 0, 0, 0))
        entry.external_attr = 0o644 << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        out.writestr(entry, open(path, 'rb').read(), compresslevel=9)
PY
  echo "$archive: $(stat -c %s "$archive") bytes"
done
