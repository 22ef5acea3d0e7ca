#!/bin/bash
# Checks what running 32-bit Wine under qemu needs, and builds the trap-number
# library (trapno.c) into DIR when it is missing or older than its source.
# Usage: setup.sh DIR
set -euo pipefail
dir=$1
here=$(dirname "$(realpath "$0")")

need() { echo "$1: run scripts/install-deps.sh (as root)" >&2; exit 1; }
[ -x /usr/bin/qemu-i386 ] || need "no /usr/bin/qemu-i386 (qemu-user)"
[ -x /usr/lib/wine/wine ] || need "no 32-bit Wine (wine32:i386)"
[ -x /usr/lib/wine/wine-preloader ] || need "no 32-bit Wine preloader (wine32-preloader:i386)"
[ -f /lib/i386-linux-gnu/libc.so.6 ] || need "no 32-bit C library (libc6:i386)"
command -v unshare >/dev/null || need "no unshare (util-linux)"

lib32=$dir/lib/i386-linux-gnu/libzorvin-trapno.so
lib64=$dir/lib/x86_64-linux-gnu/libzorvin-trapno.so
if [ ! -f "$lib32" ] || [ "$here/trapno.c" -nt "$lib32" ] || [ ! -f "$lib64" ]; then
  mkdir -p "$(dirname "$lib32")" "$(dirname "$lib64")"
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  # No i386 multilib is installed: the compiler's -m32 code generation with no
  # headers, linked against the i386 C library that 32-bit Wine brings.
  gcc -m32 -O2 -fPIC -ffreestanding -fno-builtin -fno-stack-protector -Wall -Wextra -Werror \
    -c "$here/trapno.c" -o "$tmp/trapno.o"
  ld -m elf_i386 -shared -o "$lib32" "$tmp/trapno.o" /lib/i386-linux-gnu/libc.so.6
  # The 64-bit processes (wineserver, the 64-bit loader) need no change, only a
  # library to load.
  : | gcc -shared -x c - -o "$lib64"
fi
