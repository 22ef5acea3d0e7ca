#!/bin/bash
# Installs what building and testing need on Debian 12 (bookworm) or 13
# (trixie), run as root. Idempotent: does nothing when every package is
# already there.
set -euo pipefail

. /etc/os-release
# What differs between the releases: clang's runtime (libFuzzer), the package
# that holds Liberation Sans 2, and where a qemu of the 10.0 series comes from.
# Bookworm's own qemu 7.2 corrupts the memory of multi-threaded 32-bit Wine
# processes; the 10.0 series from bookworm-backports runs them soundly.
case ${VERSION_CODENAME:-} in
  bookworm)
    release_packages=(libclang-rt-14-dev fonts-liberation2)
    qemu_suite=bookworm-backports ;;
  trixie)
    release_packages=(libclang-rt-19-dev fonts-liberation)
    qemu_suite= ;;
  *)
    echo "scripts/install-deps.sh knows Debian 12 (bookworm) and 13 (trixie), not ${PRETTY_NAME:-this system}" >&2
    exit 1 ;;
esac

packages=(
  cmake ninja-build g++ googletest file python3  # native build and tests
  clang "${release_packages[0]}"               # the fuzzer (libFuzzer)
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix  # Windows cross builds
  wine64 xvfb xauth                            # running the x64 exe and its tests
  fonts-wine "${release_packages[1]}" fontconfig  # Windows' UI faces (Wine's own), a scalable stand-in, fc-match
  icoutils                                     # reading resources back out of the exes
  libjpeg-turbo-progs                          # djpeg: the settings window's picture, decoded at build time
  imagemagick xdotool                          # artwork and screenshots
  wine32:i386 wine32-preloader:i386            # the x86 exe's tests: 32-bit Wine (run under qemu, below)
  util-linux                                   # unshare: the emulator's registration stays private
  nlohmann-json3-dev                           # the command-line companion's JSON
  libstb-dev zlib1g-dev libz-mingw-w64-dev     # its PNG pictures: stb_image_write over zlib, natively and for Windows
  scdoc groff-base man-db                      # its manual page, made and checked
  bash-completion zsh fish                     # its completions, tested in the real shells
  dpkg-dev lintian                             # its Debian package, made and checked
  hyperfine time                               # timing the command-line companion, its peak memory
  chromium                                     # the page's tests, headless (Playwright drives Debian's build)
  mmdebstrap                                   # the Debian 13 root the second test stage runs in
)
# Playwright's test runner comes from npm (tests/browser/package-lock.json) and
# runs on the machine's Node.js; Debian's own where the machine has none.
command -v npm >/dev/null || packages+=(nodejs npm)
qemu_min=10

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
qemu_ok() {
  installed qemu-user || return 1
  local v
  v=$(dpkg-query -W -f='${Version}' qemu-user)
  v=${v#*:}  # without the epoch
  [ "${v%%.*}" -ge "$qemu_min" ] 2>/dev/null
}

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
backports_missing=()
if ! qemu_ok; then
  if [ -n "$qemu_suite" ]; then backports_missing=(qemu-user); else missing+=(qemu-user); fi
fi
[ ${#missing[@]} -eq 0 ] && [ ${#backports_missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} ${backports_missing[*]} (run this script as root to install them)" >&2
  exit 1
fi
echo "installing: ${missing[*]} ${backports_missing[*]}"
export DEBIAN_FRONTEND=noninteractive

dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
if [ ${#backports_missing[@]} -gt 0 ] && ! grep -rqs "$qemu_suite" /etc/apt/sources.list /etc/apt/sources.list.d/; then
  cat >"/etc/apt/sources.list.d/zorvin-$qemu_suite.sources" <<SRC
Types: deb
URIs: http://deb.debian.org/debian
Suites: $qemu_suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi

# A mirror part-way through a sync serves an index whose size its Release
# file does not list; apt ignores that index. Try a few times; if one stays
# broken, go on with the others, but never mix versions: a Multi-Arch library
# must be the same version for amd64 and i386, and with a suite's i386 index
# gone, its newer amd64 builds have no i386 twin. For this install the
# broken suites then rank below the others (priority 100: nothing is
# downgraded), so each library comes from a suite that has both.
update_log=$(mktemp)
preferences=$(mktemp)
trap 'rm -f "$update_log" "$preferences"' EXIT
broken=()
for attempt in 1 2 3; do
  apt-get update -q 2>&1 | tee "$update_log" || true
  mapfile -t broken < <(sed -n 's|^E: Failed to fetch .*/dists/\([^/]*\)/.*|\1|p' "$update_log" | sort -u)
  [ ${#broken[@]} -eq 0 ] && break
  echo "apt-get update, try $attempt of 3: these suites' indexes failed: ${broken[*]}" >&2
  [ "$attempt" -lt 3 ] && sleep 20
done
apt_options=(-y -q --no-install-recommends)
if [ ${#broken[@]} -gt 0 ]; then
  echo "going on without the broken indexes; for this install, preferring the suites that have every architecture over: ${broken[*]}" >&2
  for suite in "${broken[@]}"; do
    printf 'Package: *\nPin: release n=%s\nPin-Priority: 100\n\n' "$suite" >>"$preferences"
  done
  apt_options+=(-o "Dir::Etc::Preferences=$preferences")
fi
# apt works out every package before it changes any: a set it cannot resolve
# leaves the machine as it was.
install() {
  if ! apt-get install "${apt_options[@]}" "$@"; then
    echo "scripts/install-deps.sh: could not install: $*" >&2
    [ ${#broken[@]} -gt 0 ] &&
      echo "the package mirror's indexes for ${broken[*]} are broken (a mirror sync in progress?): try again later" >&2
    exit 1
  fi
}
if [ ${#missing[@]} -gt 0 ]; then
  install "${missing[@]}"
fi
if [ ${#backports_missing[@]} -gt 0 ]; then
  install -t "$qemu_suite" "${backports_missing[@]}"
fi
