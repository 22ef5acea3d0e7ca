#!/bin/bash
# The Debian package zorvin_<version>-1_<architecture>.deb: lintian reports no error and
# no warning; two clean builds give the same bytes; installed with dpkg -i in a
# throwaway Debian 12 root (and in the Debian 13 root, when the machine has
# one), zorvin --version, man -w zorvin and the bash completion work from the
# installed files, and dpkg -r leaves no file behind.
#
# The Debian 12 root is made once per machine with mmdebstrap and kept in
# /var/cache/zorvin/debian12; each run installs into an overlay of it whose
# changes live in memory and end with the run.
# Usage: tests/deb_test.sh (as root, from the source tree; builds the linux preset)
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$(pwd -P)
cache=/var/cache/zorvin
root12=$cache/debian12
stamp=.zorvin-root-1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [ -z "${ZORVIN_DEB_TEST_ROOT:-}" ]; then
  cmake --preset linux >/dev/null
  cmake --build --preset linux >/dev/null
  version=$(cat build/linux/version.txt)
  deb=build/zorvin_$version-1_$(dpkg --print-architecture).deb
  packaging/debian/build-deb.sh build/linux build

  echo "-- lintian"
  if lintian --fail-on error,warning --pedantic "$deb" 2>/dev/null; then
    echo "ok: lintian: no error, no warning"
  else
    fail "lintian"
  fi

  echo "-- a second clean build"
  second=$(mktemp -d)
  trap 'rm -rf "$second"' EXIT
  cmake --preset linux -B "$second/linux" >/dev/null
  cmake --build "$second/linux" >/dev/null
  packaging/debian/build-deb.sh "$second/linux" "$second" >/dev/null
  if cmp -s "$deb" "$second/${deb##*/}"; then
    echo "ok: the same bytes (sha256 $(sha256sum <"$deb" | cut -d' ' -f1))"
  else
    fail "two clean builds give different packages"
  fi

  if [ ! -f "$root12/$stamp" ]; then
    echo "making the Debian 12 root $root12 (once per machine)"
    rm -rf "$root12.new"
    mkdir -p "$cache"
    mmdebstrap --quiet --mode=root --variant=apt --include=man-db,bash-completion \
      bookworm "$root12.new" "${ZORVIN_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
    touch "$root12.new/$stamp"
    rm -rf "$root12"  # a root of an older stamp
    mv "$root12.new" "$root12"
  fi
  roots=("$root12")
  [ -x "$cache/debian13/usr/bin/man" ] && roots+=("$cache/debian13")
  for root in "${roots[@]}"; do
    echo "-- installed in an overlay of $root"
    ZORVIN_DEB_TEST_ROOT=$root unshare --mount --propagation private --pid --fork --kill-child "$0" "$tree/$deb" ||
      failures=$((failures + 1))
  done
  [ "$failures" -eq 0 ]
  exit
fi

# In the namespaces: the root as a lower layer, every change in memory.
root=$ZORVIN_DEB_TEST_ROOT
deb=$1
work=$(mktemp -d)
mount -t tmpfs tmpfs "$work"
mkdir "$work/upper" "$work/work" "$work/root"
mount -t overlay overlay -o "lowerdir=$root,upperdir=$work/upper,workdir=$work/work" "$work/root"
mount -t proc proc "$work/root/proc"
mount --rbind /dev "$work/root/dev"
cp "$deb" "$work/root/tmp/"
exec chroot "$work/root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
  DEB="/tmp/${deb##*/}" /bin/bash -uo pipefail -c '
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Every file outside the package manager'"'"'s own records, logs and caches.
files() { find / -xdev \( -path /proc -o -path /tmp -o -path /var/lib/dpkg -o -path /var/log \
            -o -path /var/cache \) -prune -o -print | LC_ALL=C sort; }
. /etc/os-release
before=$(files)
dpkg -i "$DEB" >/dev/null || fail "dpkg -i"
version=$(zorvin --version) && [ "$version" = "zorvin 1.00" ] && echo "ok: $PRETTY_NAME: zorvin --version: $version" ||
  fail "zorvin --version: $version"
page=$(man -w zorvin) && [ "$page" = /usr/share/man/man1/zorvin.1.gz ] && echo "ok: man -w zorvin: $page" ||
  fail "man -w zorvin: $page"
offered=$(bash --norc -c ". /usr/share/bash-completion/bash_completion
  __load_completion zorvin || exit 1
  COMP_WORDS=(zorvin level sp_d) COMP_CWORD=2
  _zorvin zorvin sp_d level
  echo \${#COMPREPLY[@]}")
[ "$offered" = 7 ] && echo "ok: bash completion, loaded on demand, offers 7 levels for sp_d" ||
  fail "bash completion of sp_d: $offered"
dpkg -r zorvin >/dev/null || fail "dpkg -r"
left=$(diff <(echo "$before") <(files))
[ -z "$left" ] && echo "ok: dpkg -r leaves no file behind" || fail "after dpkg -r: $left"
exit $failures
'
