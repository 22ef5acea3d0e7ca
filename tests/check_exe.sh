#!/bin/bash
# Checks a built ZorvinEffects.exe from outside: format, subsystem, imports,
# version data, icon images, manifest and hardening; with --console, the
# command-line zorvin.exe: format, subsystem, imports and hardening.
# Usage: check_exe.sh [--console] EXE x86|x64 VERSION_TEXT VERSION   (such as 1.00 1.0.0)
set -uo pipefail
console=0
[ "${1:-}" = --console ] && { console=1; shift; }
exe=$1
arch=$2
version_text=$3
version=$4
kind=GUI subsystem=2
[ "$console" = 1 ] && kind=console subsystem=3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

[ -f "$exe" ] || { echo "FAIL: no such exe: $exe (build its preset first)"; exit 1; }
case $arch in
  x86) objdump=i686-w64-mingw32-objdump; pe="PE32 executable" machine="Intel (80386|i386)" ;;
  x64) objdump=x86_64-w64-mingw32-objdump; pe="PE32+ executable" machine="x86-64" ;;
  *) echo "usage: $0 EXE x86|x64 VERSION_TEXT VERSION"; exit 2 ;;
esac

what=$(file -b "$exe")
# file 5.44 says "PE32+ executable (GUI) x86-64", 5.46 (Debian 13) "PE32+
# executable for MS Windows 5.02 (GUI), x86-64".
[[ $what == "$pe "* && $what == *"($kind)"* && $what =~ [\ ,]$machine([\ ,]|$) ]] && pass "$what" || fail "format: $what"

headers=$(TZ=UTC $objdump -p "$exe")
grep -qE "^Subsystem\s+0000000$subsystem" <<<"$headers" && pass "$kind subsystem" || fail "subsystem"

# Only Windows' own DLLs: nothing of the compiler's runtime beside the exe.
system_dlls='^(kernel32|user32|gdi32|comctl32|ole32|oleaut32|msvcrt|advapi32|shell32)\.dll$'
while read -r dll; do
  [[ ${dll,,} =~ $system_dlls ]] && pass "imports $dll" || fail "imports $dll"
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

resources() {

# Version data: each name followed by its value.
wrestool -x --raw -t 16 "$exe" >"$tmp/version" 2>/dev/null
strings -el "$tmp/version" >"$tmp/version.txt"
for pair in "ProductName=zorvinwpsettings" "InternalName=ZorvinEffects" "OriginalFilename=ZorvinEffects.exe" \
            "FileVersion=$version_text" "ProductVersion=$version_text"; do
  name=${pair%%=*}
  value=${pair#*=}
  [ "$(grep -A1 -x "$name" "$tmp/version.txt" | sed -n 2p)" = "$value" ] && pass "$name $value" ||
    fail "version string $name is not $value"
done
# Fixed part: file and product version; translation English (United States), Unicode.
python3 - "$tmp/version" "$version" <<'PY' && pass "version $version.0, 0409/1200" || fail "fixed version data"
import struct, sys
data = open(sys.argv[1], 'rb').read()
major, minor, patch = (int(part) for part in sys.argv[2].split('.'))
at = data.find(struct.pack('<I', 0xFEEF04BD))
expected = ((major << 16) | minor, patch << 16)
assert struct.unpack_from('<IIII', data, at + 8) == expected * 2, struct.unpack_from('<IIII', data, at + 8)
assert struct.pack('<HH', 0x0409, 1200) in data[data.find('Translation'.encode('utf-16-le')):]
PY

# The five icon images.
wrestool -x -t 14 "$exe" >"$tmp/app.ico" 2>/dev/null
icons=$(icotool -l "$tmp/app.ico" 2>/dev/null | sed -E 's/--index=[0-9]+ //')
expected="--icon --width=32 --height=32 --bit-depth=4 --palette-size=16
--icon --width=16 --height=16 --bit-depth=4 --palette-size=16
--icon --width=32 --height=32 --bit-depth=8 --palette-size=256
--icon --width=16 --height=16 --bit-depth=8 --palette-size=256
--icon --width=48 --height=48 --bit-depth=32 --palette-size=0"
[ "$icons" = "$expected" ] && pass "five icon images" || fail "icon images: $icons"

wrestool -x --raw -t 24 "$exe" >"$tmp/manifest" 2>/dev/null
for needle in Microsoft.Windows.Common-Controls PerMonitorV2 asInvoker supportedOS "version=\"$version.0\""; do
  grep -q "$needle" "$tmp/manifest" && pass "manifest: $needle" || fail "manifest lacks $needle"
done

}
[ "$console" = 1 ] || resources

# Hardening, as objdump prints the PE headers: ASLR with relocations, NX,
# high-entropy addresses on x64, no link time in the header, and no section
# both writable and executable.
dll_flags=$(sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/p' <<<"$headers")
for flag in DYNAMIC_BASE NX_COMPAT; do
  grep -qw "$flag" <<<"$dll_flags" && pass "$flag" || fail "no $flag"
done
if [ "$arch" = x64 ]; then
  grep -qw HIGH_ENTROPY_VA <<<"$dll_flags" && pass "HIGH_ENTROPY_VA" || fail "no HIGH_ENTROPY_VA"
fi
directory() { awk -v name="$1" '$1 == "Entry" && index($0, name) { print $3, $4 }' <<<"$headers"; }
read -r _ reloc_size < <(directory "Base Relocation Directory")
[ $((16#${reloc_size:-0})) -gt 0 ] && pass "relocations for ASLR" || fail "no relocations"
grep -qE '^Time/Date\s+Thu Jan  1 00:00:00 1970$' <<<"$headers" && pass "no link time in the header" ||
  fail "link time in the header: $(grep '^Time/Date' <<<"$headers")"
sections=$($objdump -h "$exe")
writable_code=$(awk '$1 ~ /^[0-9]+$/ { name = $2; next } /CODE/ && !/READONLY/ { print name }' <<<"$sections")
[ -z "$writable_code" ] && pass "no section both writable and executable" || fail "writable code: $writable_code"

# The one flag objdump does not print: DependentLoadFlags in the load
# configuration (the WORD after CSDVersion), 0x800 to load the imports'
# dependencies from System32 only.
read -r config_rva config_size < <(directory "Load Configuration Directory")
image_base=$((16#$(awk '$1 == "ImageBase" { print $2 }' <<<"$headers")))
config=$((16#$config_rva + image_base))
flags=none
while read -r vma file_offset size; do
  if [ $((16#${config_size:-0})) -gt 0 ] && [ "$config" -ge $((16#$vma)) ] && [ "$config" -lt $((16#$vma + 16#$size)) ]; then
    at=$((config - 16#$vma + 16#$file_offset + $([ "$arch" = x64 ] && echo 78 || echo 54)))
    flags=$(od -An -tx2 -j "$at" -N2 "$exe" | tr -d ' ')
  fi
done < <(awk '$1 ~ /^[0-9]+$/ { print $4, $6, $3 }' <<<"$sections")
[ "$flags" = 0800 ] && pass "imports' dependencies load from System32 only" || fail "DependentLoadFlags: $flags"

echo "$failures failed"
[ "$failures" -eq 0 ]
