#!/bin/bash
# zorvin apply on a big map from the generator (tests/make_map.cpp), side by
# side in one run with cp followed by sync of the same file: its time (the
# Linux zorvin that ships, optimised), the ratio of the two, and apply's peak
# memory. The map's folder is the build folder's, on the same disk as the
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
echo "the map: $(stat -c %s big.map) bytes, CR LF"

# Each run starts from the same map, flushed, with no backup beside it.
hyperfine --runs "$runs" --export-json times.json \
  --prepare 'rm -f copy.map; sync' -n 'cp + sync' 'cp big.map copy.map && sync copy.map' \
  --prepare 'rm -f m.map m.map.bak; cp big.map m.map; sync' -n 'zorvin apply' "$zorvin apply mp_toujane m.map"
python3 - <<'EOF'
import json
times = {r["command"]: r for r in json.load(open("times.json"))["results"]}
copy, apply = times["cp + sync"]["median"], times["zorvin apply"]["median"]
print(f"median: cp + sync {copy * 1000:.0f} ms, zorvin apply {apply * 1000:.0f} ms: {apply / copy:.2f} times as long")
EOF
rm -f m.map m.map.bak
cp big.map m.map
# Peak memory: the largest resident set of the process, from the kernel.
/usr/bin/time -f 'zorvin apply: peak resident memory %M KB' "$zorvin" apply mp_toujane m.map >/dev/null
/usr/bin/time -f 'zorvin light: peak resident memory %M KB' "$zorvin" light m.map >/dev/null
rm -f m.map m.map.bak copy.map
