#!/bin/bash
# Checks a built ZorvinEffects.exe from outside: format, subsystem, imports,
# version data, icon images and manifest.
# Usage: check_exe.sh EXE x86|x64
set -uo pipefail
exe=$1
arch=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

[ -f "$exe" ] || { echo "FAIL: no such exe: $exe (build its preset first)"; exit 1; }
case $arch in
  x86) objdump=i686-w64-mingw32-objdump; format="PE32 executable (GUI) Intel 80386" ;;
  x64) objdump=x86_64-w64-mingw32-objdump; format="PE32+ executable (GUI) x86-64" ;;
  *) echo "usage: $0 EXE x86|x64"; exit 2 ;;
esac

what=$(file -b "$exe")
[[ $what == "$format"* ]] && pass "$what" || fail "format: $what"

headers=$($objdump -p "$exe")
grep -qE '^Subsystem\s+00000002' <<<"$headers" && pass "GUI subsystem" || fail "subsystem"

# Only Windows' own DLLs: nothing of the compiler's runtime beside the exe.
system_dlls='^(kernel32|user32|gdi32|comctl32|ole32|oleaut32|msvcrt|advapi32|shell32)\.dll$'
while read -r dll; do
  [[ ${dll,,} =~ $system_dlls ]] && pass "imports $dll" || fail "imports $dll"
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Version data: each name followed by its value.
wrestool -x --raw -t 16 "$exe" >"$tmp/version" 2>/dev/null
strings -el "$tmp/version" >"$tmp/version.txt"
for pair in "ProductName=zorvinwpsettings" "InternalName=ZorvinEffects" "OriginalFilename=ZorvinEffects.exe" \
            "FileVersion=1.00" "ProductVersion=1.00"; do
  name=${pair%%=*}
  value=${pair#*=}
  [ "$(grep -A1 -x "$name" "$tmp/version.txt" | sed -n 2p)" = "$value" ] && pass "$name $value" ||
    fail "version string $name is not $value"
done
# Fixed part: file and product version 1.0.0.0; translation English (United States), Unicode.
python3 - "$tmp/version" <<'PY' && pass "version 1.0.0.0, 0409/1200" || fail "fixed version data"
import struct, sys
data = open(sys.argv[1], 'rb').read()
at = data.find(struct.pack('<I', 0xFEEF04BD))
ms, ls, pms, pls = struct.unpack_from('<IIII', data, at + 8)
assert (ms, ls, pms, pls) == (0x10000, 0, 0x10000, 0), (ms, ls, pms, pls)
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
for needle in Microsoft.Windows.Common-Controls PerMonitorV2 asInvoker supportedOS; do
  grep -q "$needle" "$tmp/manifest" && pass "manifest: $needle" || fail "manifest lacks $needle"
done

# Hardening, read from the PE headers: ASLR with relocations, NX, high-entropy
# addresses on x64, no section both writable and executable, dependencies of
# the imports searched in System32 only, and no link time in the header.
while read -r line; do
  case $line in ok:*) pass "${line#ok: }" ;; *) fail "${line#FAIL: }" ;; esac
done < <(python3 - "$exe" "$arch" <<'PY'
import struct, sys
image = open(sys.argv[1], 'rb').read()
x64 = sys.argv[2] == 'x64'
pe = struct.unpack_from('<I', image, 0x3C)[0]
sections = struct.unpack_from('<H', image, pe + 6)[0]
timestamp = struct.unpack_from('<I', image, pe + 8)[0]
optional = pe + 24
characteristics = struct.unpack_from('<H', image, optional + 70)[0]
directories = optional + (112 if x64 else 96)
def report(ok, what): print(('ok: ' if ok else 'FAIL: ') + what)
report(characteristics & 0x0040, 'ASLR (dynamic base)')
report(characteristics & 0x0100, 'NX compatible')
if x64:
    report(characteristics & 0x0020, 'high-entropy VA')
reloc_rva, reloc_size = struct.unpack_from('<II', image, directories + 5 * 8)
report(reloc_size > 0, 'relocations for ASLR')
report(timestamp == 0, 'no link time in the header')
table = optional + struct.unpack_from('<H', image, pe + 20)[0]
spans = []
for i in range(sections):
    entry = table + 40 * i
    name = image[entry:entry + 8].rstrip(b'\0').decode()
    vsize, virtual, raw_size, raw = struct.unpack_from('<IIII', image, entry + 8)
    flags = struct.unpack_from('<I', image, entry + 36)[0]
    report(not (flags & 0x20000000 and flags & 0x80000000), f'section {name} not both writable and executable')
    spans.append((virtual, max(vsize, raw_size), raw))
config_rva, config_size = struct.unpack_from('<II', image, directories + 10 * 8)
flags = None
for virtual, size, raw in spans:
    if config_size and virtual <= config_rva < virtual + size:
        # DependentLoadFlags: the WORD after CSDVersion.
        flags = struct.unpack_from('<H', image, raw + config_rva - virtual + (0x4E if x64 else 0x36))[0]
report(flags == 0x0800, 'imports\' dependencies load from System32 only (DependentLoadFlags 0x800)')
PY
)

echo "$failures failed"
[ "$failures" -eq 0 ]
