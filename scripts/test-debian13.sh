#!/bin/bash
# The second test stage, on today's Debian: in a Debian 13 (trixie) root, the
# core and zorvin built and tested with its compilers and libraries, and the
# x64 exes the Debian 12 build made tested under its Wine 10 (those exes are
# what ships; the stage asks whether they run right where users run them).
#
# The root is made once per machine with mmdebstrap and kept in
# /var/cache/zorvin/debian13 (ZORVIN_DEBIAN13_ROOT overrides). The stage runs in
# mount and PID namespaces of its own: its mounts are seen by it alone, /tmp in
# the root is a fresh tmpfs, Wine 10 gets a prefix of its own (the Debian 12
# prefix is not upgraded), and every process it started ends with it.
#
# Run as root, after the win64 tests on Debian 12 (scripts/test.sh does): their
# run lists the tests, which the root's CTest then reads as they stand.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$(pwd -P)
root=${ZORVIN_DEBIAN13_ROOT:-/var/cache/zorvin/debian13}
mirror=${ZORVIN_DEBIAN_MIRROR:-http://deb.debian.org/debian}
# What the root holds; a change to the list changes the stamp's name, and the
# next run makes the root afresh.
stamp=.zorvin-root-5
packages=(
  cmake ninja-build g++ googletest python3 file   # the native build and its tests
  nlohmann-json3-dev                               # zorvin's JSON
  libstb-dev zlib1g-dev                            # its PNG pictures
  scdoc groff-base man-db bash-completion zsh fish # zorvin's manual page and completions
  wine64 wine fonts-wine fonts-liberation fontconfig xvfb xauth  # the x64 exes under Wine 10
  binutils-mingw-w64-x86-64 icoutils               # reading the exes from outside
)
stage=build/debian13

if [ -z "${ZORVIN_DEBIAN13_STAGE:-}" ]; then
  [ "$(id -u)" -eq 0 ] || { echo "scripts/test-debian13.sh runs as root (it makes a root and chroots into it)" >&2; exit 1; }
  compgen -G 'build/win64/tests/*_tests.cmake' >/dev/null || {
    echo "no win64 test lists: build the win64 preset and run its tests first (scripts/test.sh does)" >&2
    exit 1
  }
  if [ ! -f "$root/$stamp" ]; then
    echo "making the Debian 13 root $root (once per machine)"
    rm -rf "$root.new"
    mkdir -p "$(dirname "$root")"
    mmdebstrap --quiet --mode=root --variant=apt --include="$(IFS=,; echo "${packages[*]}")" \
      trixie "$root.new" "$mirror"
    touch "$root.new/$stamp"
    rm -rf "$root"
    mv "$root.new" "$root"
  fi
  export ZORVIN_DEBIAN13_STAGE=1
  exec unshare --mount --propagation private --pid --fork --kill-child "$0" "$@"
fi

# In the namespaces: the root's view of the machine.
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
mount --rbind /sys "$root/sys"
mount -t tmpfs tmpfs "$root/tmp"
mkdir -p "$root$tree"
mount --bind "$tree" "$root$tree"
# Wine 10's prefix and display state, and CTest's records, over Debian 12's.
# (wineprefix-sessions holds the prefixes and displays of the sessions the
# tests run in side by side; see cmake/wine-run.sh.)
for dir in wineprefix wineprefix-display wineprefix-sessions Testing; do
  mkdir -p "$stage/win64-$dir" "build/win64/$dir"
  mount --bind "$tree/$stage/win64-$dir" "$root$tree/build/win64/$dir"
done
rm -f "$stage/win64-wineprefix-display/"*.pid "$stage/win64-wineprefix-display/display" \
      "$stage/win64-wineprefix-sessions/"*-display/*.pid "$stage/win64-wineprefix-sessions/"*-display/display

exec chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  TREE="$tree" STAGE="$stage" /bin/bash -euo pipefail -c '
cd "$TREE"
. /etc/os-release
echo "$PRETTY_NAME; $(g++ --version | head -1); $(cmake --version | head -1); $(/usr/lib/wine/wine64 --version)"

echo "== Debian 13: native"
cmake --preset native -B "$STAGE/native" >/dev/null
cmake --build "$STAGE/native"
ctest --test-dir "$STAGE/native" --output-on-failure --timeout 300 -j "$(nproc)"

echo "== Debian 13: win64 tests under Wine 10"
ctest --preset win64 -j "$(nproc)"
'
