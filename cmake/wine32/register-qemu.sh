#!/bin/bash
# Registers qemu as the interpreter of i386 ELF programs, in a binfmt_misc
# instance private to the calling process's user and mount namespace (Linux 6.7
# and later): the machine's own registrations are untouched.
set -euo pipefail
dir=/proc/sys/fs/binfmt_misc
mount -t binfmt_misc binfmt_misc "$dir"
# Magic and mask of a 32-bit little-endian x86 ELF executable or shared object;
# F opens the interpreter now, so it works whatever the program's root.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386:F" >"$dir/register"
