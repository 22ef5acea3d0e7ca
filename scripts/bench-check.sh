#!/bin/bash
# zorvin check on a tree of 20,000 files and 200 MB (level scripts with an
# effect name every eight lines, one file in ten with a name misspelt and one
# in another case), warm, as whole processes, side by
# side in one run with grep -rIc 'efx' over the same tree; then its peak
# memory on one file of 200 MB. The tree is the build folder's.
# Usage: scripts/bench-check.sh [RUNS]   (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target zorvin >/dev/null
work=build/bench-check
zorvin=$PWD/build/linux/bin/zorvin
if [ ! -f "$work/one.gsc" ]; then
  rm -rf "$work"
  mkdir -p "$work/tree"
  python3 - "$work" <<'PY'
import os, sys
work = sys.argv[1]
# A level script: a reference every eight lines or so, all of stock effects;
# one file in ten has a name misspelt and one in another case.
good = ['\tlevel._effect["dirt"] = loadfx("fx/explosions/grenadeExp_dirt.efx");\n',
        '\tlevel._effect["wall"] = loadfx("fx/impacts/20 mm_wallexplode.efx");\n',
        '\tlevel._effect["bottle"] = loadfx("fx/props/wine_bottle.efx");\n']
plain = ['\tmaps\\mp\\_utility::exploder(12); // the wall comes down, with its dust and the fire\n',
         '\tthread maps\\mp\\_fx::loopfx("fire", (1024, -512, 64), 0.3);\n',
         '\twait 0.05;\n']
bad = ['\tlevel._effect["drit"] = loadfx("fx/explosions/grenadeExp_drit.efx");\n',
       '\tlevel._effect["case"] = loadfx("fx/explosions/GRENADEEXP_DIRT.efx");\n']
block = ''.join(good[i % 3] if i % 8 == 0 else plain[i % 3] for i in range(96))
per_file = 10_000
for i in range(20_000):
    folder = os.path.join(work, 'tree', f'level{i // 500:02d}')
    os.makedirs(folder, exist_ok=True)
    text = (block * (per_file // len(block) + 1))[:per_file]
    text = text[:text.rfind('\n') + 1]
    with open(os.path.join(folder, f'script{i:05d}.gsc'), 'w') as f:
        f.write(text + (''.join(bad) if i % 10 == 0 else ''))
with open(os.path.join(work, 'one.gsc'), 'w') as f:
    for i in range(200 * 1024 * 1024 // len(block)):
        f.write(block + (''.join(bad) if i % 1000 == 0 else ''))
PY
fi
echo "the tree: $(find "$work/tree" -type f | wc -l) files, $(du -sb "$work/tree" | cut -f1) bytes"
hyperfine --warmup 1 --runs "$runs" -i -N --export-json "$work/times.json" \
  -n 'grep -rIc efx' "grep -rIc efx $work/tree" \
  -n 'zorvin check' "$zorvin check $work/tree"
python3 - "$work/times.json" <<'PY'
import json, sys
t = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
print(f"median: grep {t['grep -rIc efx'] * 1000:.0f} ms, zorvin check {t['zorvin check'] * 1000:.0f} ms:"
      f" {t['zorvin check'] / t['grep -rIc efx']:.2f} times as long (target 2)")
PY
/usr/bin/time -o "$work/peak" -f %M "$zorvin" check "$work/one.gsc" >/dev/null 2>&1 || true
echo "one file of $(stat -c %s "$work/one.gsc") bytes: peak resident memory of zorvin check: $(cat "$work/peak") KB (target 32768)"
