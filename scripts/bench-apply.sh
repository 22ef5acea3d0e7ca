#!/bin/bash
# zorvin apply on a big map from the generator (tests/make_map.cpp), side by
# side in one run with cp followed by sync of the same file: its time (the
# Linux zorvin that ships, optimised), the ratio of the two, and apply's peak
# memory; then three maps a quarter its size in one apply against three in a
# row. The map's folder is the build folder's, on the same disk as the
# source tree.
# Usage: scripts/bench-apply.sh [MEGABYTES] [RUNS]   (default 200 MB, 5 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
megabytes=${1:-200} runs=${2:-5}
scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target zorvin >/dev/null
work=build/bench-apply
mkdir -p "$work"
g++ -O2 -std=c++20 -o "$work/make_map" tests/make_map.cpp
"$work/make_map" "$megabytes" "$work/big.map" --crlf
zorvin=$PWD/build/linux/bin/zorvin
cd "$work"
# The medians of two commands that hyperfine timed, and how they compare.
medians() {  # JSON FIRST SECOND
  python3 - "$@" <<'EOF'
import json, sys
path, first, second = sys.argv[1:]
times = {r["command"]: r["median"] for r in json.load(open(path))["results"]}
print(f"median: {first} {times[first] * 1000:.0f} ms, {second} {times[second] * 1000:.0f} ms:"
      f" {times[second] / times[first]:.2f} times as long")
EOF
}
echo "the map: $(stat -c %s big.map) bytes, CR LF"

# Each run starts from the same map, flushed, with no backup beside it.
hyperfine --runs "$runs" --export-json times.json \
  --prepare 'rm -f copy.map; sync' -n 'cp + sync' 'cp big.map copy.map && sync copy.map' \
  --prepare 'rm -f m.map m.map.bak; cp big.map m.map; sync' -n 'zorvin apply' "$zorvin apply mp_toujane m.map"
medians times.json "cp + sync" "zorvin apply"
rm -f m.map m.map.bak
cp big.map m.map
# Peak memory: the largest resident set of the process, from the kernel.
/usr/bin/time -f 'zorvin apply: peak resident memory %M KB' "$zorvin" apply mp_toujane m.map >/dev/null
/usr/bin/time -f 'zorvin light: peak resident memory %M KB' "$zorvin" light m.map >/dev/null
rm -f m.map m.map.bak copy.map

# Three maps in one apply, each checked before any is written (so read twice),
# against three applies one after another.
./make_map "$((megabytes / 4 > 0 ? megabytes / 4 : 1))" small.map --crlf
reset='rm -f a.map* b.map* c.map*; cp small.map a.map; cp small.map b.map; cp small.map c.map; sync'
hyperfine --runs "$runs" --export-json three.json \
  --prepare "$reset" -n 'three applies' \
  "$zorvin apply mp_toujane a.map --no-backup && $zorvin apply mp_toujane b.map --no-backup && $zorvin apply mp_toujane c.map --no-backup" \
  --prepare "$reset" -n 'apply A B C' "$zorvin apply mp_toujane a.map b.map c.map --no-backup"
medians three.json "three applies" "apply A B C"
rm -f a.map* b.map* c.map* small.map
