#!/bin/bash
# Makes the release archives build/ZorvinEffects-<version>-win32.zip and
# -win64.zip, each holding ZorvinEffects.exe, zorvin.exe, the page
# zorvin-<version>.html, README.md with every file its links reach (the
# licence, docs/ and their pictures: scripts/linked-files.py), and
# build/zorvin-<version>-linux-x86_64.tar.gz with the Linux zorvin as
# cmake --install lays it out (its manual page and completions too), the
# page and the same README and docs; and build/zorvin_<version>-1_<architecture>.deb.
# Builds everything first. The archives carry fixed dates, owners and order,
# so the same binaries give the same archives.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# The page, from the Linux zorvin: the same bytes as docs/index.html.
cmake --preset linux >/dev/null
version=$(cat build/linux/version.txt)
page=build/zorvin-$version.html
scripts/make-page.sh "$page"
cmp -s "$page" docs/index.html || { echo "docs/index.html is not the page zorvin writes: run scripts/make-page.sh" >&2; exit 1; }
mapfile -t linked < <(scripts/linked-files.py)

for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  version=$(cat "build/$preset/version.txt")  # from the project's version, by the configure step
  cmake --build --preset "$preset" --target ZorvinEffects zorvin >/dev/null
  archive=build/ZorvinEffects-$version-$preset.zip
  python3 - "$archive" "build/$preset/bin/ZorvinEffects.exe" "build/$preset/bin/zorvin.exe" "$page" -- "${linked[@]}" <<'PY'
import sys, zipfile
archive, *files = sys.argv[1:]
built, tree = files[:files.index('--')], files[files.index('--') + 1:]
with zipfile.ZipFile(archive, 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as out:
    # The built files at the top; the tree's as they stand in it, so that its links hold.
    for name, path in [(p.rsplit('/', 1)[-1], p) for p in built] + [(p, p) for p in tree]:
        entry = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
        entry.external_attr = 0o644 << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        out.writestr(entry, open(path, 'rb').read(), compresslevel=9)
PY
  echo "$archive: $(stat -c %s "$archive") bytes"
done

name=zorvin-$version-linux-x86_64
stage=build/linux/stage
rm -rf "$stage"
cmake --build --preset linux >/dev/null
cmake --install build/linux --prefix "$stage/$name" --strip >/dev/null
cp "$page" "$stage/$name/"
cp --parents "${linked[@]}" "$stage/$name/"
archive=build/$name.tar.gz
tar -C "$stage" --sort=name --mtime=@0 --owner=0 --group=0 --numeric-owner -cf - "$name" | gzip -9n >"$archive"
echo "$archive: $(stat -c %s "$archive") bytes"

# The Debian package, from the same build.
packaging/debian/build-deb.sh build/linux build
