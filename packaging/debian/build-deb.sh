#!/bin/bash
# Makes zorvin_<version>-1_<architecture>.deb from a built Linux tree (the linux preset):
# zorvin, its manual page, its completions for bash, zsh and fish, and the
# copyright file and changelog where Debian keeps them. The dependencies come
# from dpkg-shlibdeps; every date is the changelog's, so the same build gives
# the same bytes.
# Usage: build-deb.sh BUILD_DIR OUT_DIR
set -euo pipefail
here=$(dirname "$(realpath "$0")")
build=$(realpath "$1")
out=$(realpath "$2")
version=$(cat "$build/version.txt")

changelog=$here/changelog
package_version=$(dpkg-parsechangelog -l "$changelog" -SVersion)
if [ "$package_version" != "$version-1" ]; then
  echo "packaging/debian/changelog's last entry is $package_version; the project is at $version: add an entry" >&2
  exit 1
fi
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$changelog" -STimestamp)
export SOURCE_DATE_EPOCH
release_date=$(sed -n 's/^set(ZORVIN_RELEASE_DATE \(.*\))$/\1/p' "$here/../../CMakeLists.txt")
if [ "$(date -u -d "@$SOURCE_DATE_EPOCH" +%F)" != "$release_date" ]; then
  echo "packaging/debian/changelog's last entry is not dated $release_date, the release's date in CMakeLists.txt" >&2
  exit 1
fi

work=$build/deb
root=$work/root
rm -rf "$work"
mkdir -p "$work/debian"
cp "$here/control" "$changelog" "$work/debian/"

DESTDIR=$root cmake --install "$build" --prefix /usr --strip >/dev/null
# Debian's zsh reads the packages' completions from vendor-completions.
mkdir -p "$root/usr/share/zsh/vendor-completions"
mv "$root/usr/share/zsh/site-functions/_zorvin" "$root/usr/share/zsh/vendor-completions/"
rmdir "$root/usr/share/zsh/site-functions"
# As dh_strip does: the compiler's notes and comments go too.
strip --remove-section=.comment --remove-section=.note "$root/usr/bin/zorvin"
gzip -9n "$root/usr/share/man/man1/zorvin.1"
doc=$root/usr/share/doc/zorvin
mkdir -p "$doc"
cp "$here/copyright" "$doc/"
gzip -9n <"$changelog" >"$doc/changelog.Debian.gz"
mkdir -p "$root/usr/share/lintian/overrides"
cp "$here/lintian-overrides" "$root/usr/share/lintian/overrides/zorvin"
find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root/usr/bin/zorvin"

mkdir -p "$root/DEBIAN"
(
  cd "$work"
  dpkg-shlibdeps -Tdebian/substvars root/usr/bin/zorvin
  dpkg-gencontrol -pzorvin -Proot -Tdebian/substvars
)
(cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

deb=$out/zorvin_${package_version}_$(dpkg --print-architecture).deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb: $(stat -c %s "$deb") bytes"
