#!/bin/bash
# A map torn by a kill: zorvin apply on a 200 MB map (CR LF) from the
# generator, killed at several points of its run, leaves the map byte for
# byte the old one or the new one, and any backup the old one. A kill it can
# catch (SIGTERM) also leaves no temporary file.
# Usage: map_kill_test.sh ZORVIN MAKE_MAP WORK_DIR [MEGABYTES]
set -euo pipefail
zorvin=$1 make_map=$2 work=$3 megabytes=${4:-200}
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
cd "$work"

"$make_map" "$megabytes" old.map --crlf
cp old.map new.map
start=$(date +%s%N)
"$zorvin" apply mp_toujane new.map --no-backup >/dev/null
full_ms=$((($(date +%s%N) - start) / 1000000))
echo "a whole apply of $megabytes MB: $full_ms ms"
cmp -s old.map new.map && { echo "FAIL: apply changed nothing"; exit 1; }

failures=0
for signal in KILL TERM; do
  for percent in 2 10 30 50 70 90 99; do
    rm -rf run && mkdir run
    cp old.map run/m.map
    "$zorvin" apply mp_toujane run/m.map >/dev/null 2>&1 &
    pid=$!
    sleep "$(awk -v ms="$full_ms" -v p="$percent" 'BEGIN { printf "%.3f", ms * p / 100000 }')"
    kill -s "$signal" "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null && ended=finished || ended=killed
    if cmp -s run/m.map old.map; then state=old; elif cmp -s run/m.map new.map; then state=new; else state=TORN; fi
    backup=none
    [ -e run/m.map.bak ] && { cmp -s run/m.map.bak old.map && backup=old || backup=WRONG; }
    left=$(find run -name '.m.map.zorvin-*' | wc -l)
    echo "SIG$signal at $percent% ($ended): the map is the $state one, the backup $backup, $left temporary file(s)"
    if [ "$state" = TORN ] || [ "$backup" = WRONG ] || { [ "$signal" = TERM ] && [ "$left" -ne 0 ]; }; then
      failures=$((failures + 1))
    fi
  done
done
[ "$failures" -eq 0 ] || { echo "FAIL: $failures runs left a torn map, a wrong backup or a temporary file"; exit 1; }
