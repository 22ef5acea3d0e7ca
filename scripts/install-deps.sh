#!/bin/bash
# Installs what building and testing need on Debian 12 (run as root).
# Idempotent: does nothing when every package is already there.
set -euo pipefail

packages=(
  cmake make g++ googletest file python3       # native build and tests
  clang libclang-rt-14-dev                     # the fuzzer (libFuzzer)
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix  # Windows cross builds
  wine64 xvfb xauth                            # running the x64 exe and its tests
  fonts-wine fonts-liberation2                 # Windows' UI faces (Wine's own) and a scalable stand-in
  icoutils                                     # reading resources back out of the exes
  imagemagick xdotool                          # artwork and screenshots
  wine32:i386 wine32-preloader:i386            # the x86 exe's tests: 32-bit Wine (run under qemu, below)
  util-linux                                   # unshare: the emulator's registration stays private
  libcli11-dev nlohmann-json3-dev              # the command-line companion: its options and its JSON
  hyperfine                                    # timing the command-line companion
  chromium                                     # the page's tests, headless (Playwright drives Debian's build)
)
# Playwright's test runner comes from npm (tests/browser/package-lock.json) and
# runs on the machine's Node.js; Debian's own where the machine has none.
command -v npm >/dev/null || packages+=(nodejs npm)
# Bookworm's own qemu 7.2 corrupts the memory of multi-threaded 32-bit Wine
# processes; the 10.0 series from bookworm-backports runs them soundly.
backports_packages=(qemu-user)
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
qemu_ok && backports_missing=() || backports_missing=("${backports_packages[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#backports_missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} ${backports_missing[*]} (run this script as root to install them)" >&2
  exit 1
fi
echo "installing: ${missing[*]} ${backports_missing[*]}"
export DEBIAN_FRONTEND=noninteractive

dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
if [ ${#backports_missing[@]} -gt 0 ] && ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  cat >/etc/apt/sources.list.d/zorvin-bookworm-backports.sources <<'SRC'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
fi
apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ ${#backports_missing[@]} -gt 0 ]; then
  apt-get install -y -q --no-install-recommends -t bookworm-backports "${backports_missing[@]}"
fi
