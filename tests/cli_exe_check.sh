#!/bin/bash
# zorvin.exe under Wine prints a few levels and categories exactly as the
# expected files hold them, each line ended by CR LF, and a name not found
# gets status 1 and a suggestion; apply sets a level's light in a map whose
# folder and file name are not ASCII, its CR LF kept and its old bytes backed up,
# and Ctrl+C during an apply leaves no temporary file; preview and similar
# draw the shared fixtures' pixels and give what the Linux zorvin gives.
# Usage: cli_exe_check.sh GOLDEN_DIR EMULATOR... EXE
set -uo pipefail
golden=$1
shift
run=("$@")  # the emulator, its arguments and the exe
failures=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for case in levels/mp_toujane:level:mp_toujane levels/sp_hill400_assault:level:sp_hill400_assault \
            effects/Misc_Effects:effects:Misc_Effects effects/Ammo_Effects:effects:Ammo_Effects; do
  IFS=: read -r file command name <<<"$case"
  { cat "$golden/$file.txt"; printf '\r\n'; } >"$tmp/expected"
  "${run[@]}" "$command" "$name" >"$tmp/out"
  status=$?
  if [ "$status" = 0 ] && cmp -s "$tmp/expected" "$tmp/out"; then
    echo "ok: $command $name: $(stat -c %s "$tmp/out") bytes as expected"
  else
    echo "FAIL: $command $name: status $status, $(stat -c %s "$tmp/out") bytes, not $file.txt and CR LF"
    failures=$((failures + 1))
  fi
done
"${run[@]}" level mp_toujan >"$tmp/out" 2>"$tmp/err"
status=$?
if [ "$status" = 1 ] && [ ! -s "$tmp/out" ] && grep -q "did you mean 'mp_toujane'" "$tmp/err"; then
  echo "ok: level mp_toujan: status 1, $(cat "$tmp/err")"
else
  echo "FAIL: level mp_toujan: status $status, $(cat "$tmp/err")"
  failures=$((failures + 1))
fi
# Wine reads the arguments' bytes in the locale's character set.
export LC_ALL=C.UTF-8
folder="$tmp/Карты café"
mkdir -p "$folder"
map="$folder/ночь été.map"
printf '{\r\n"classname" "worldspawn"\r\n"sunlight" "1"\r\n}\r\n' >"$map"
cp "$map" "$tmp/old.map"
printf '{\r\n"classname" "worldspawn"\r\n"sunlight" "1.3"\r\n"_color" "0.813 0.804 0.706"\r\n"ambient" ".02"\r\n'\
'"sundiffusecolor" "0.863 0.922 0.922"\r\n"diffusefraction" ".4"\r\n"sundirection" "-45 135 0"\r\n'\
'"suncolor" "0.98 0.882 0.745"\r\n}\r\n' >"$tmp/applied.map"
"${run[@]}" apply mp_toujane "Z:$map" >"$tmp/out" 2>"$tmp/err"
status=$?
if [ "$status" = 0 ] && cmp -s "$map" "$tmp/applied.map" && cmp -s "$map.bak" "$tmp/old.map"; then
  echo "ok: apply to $map: its CR LF kept, its old bytes in .bak; $(tail -n 1 "$tmp/out" | tr -d '\r')"
else
  echo "FAIL: apply to $map: status $status, $(cat "$tmp/out" "$tmp/err"); the folder holds: $(ls "$folder")"
  failures=$((failures + 1))
fi
# Ctrl+C while apply reads a big map (SIGINT, which Wine turns into the
# console's Ctrl+C event): its temporary file goes, the map stays as it was.
big="$tmp/interrupted.map"
{ printf '{\r\n"classname" "worldspawn"\r\n'; yes '{ ( 0 0 0 ) ( 1 1 1 ) ( 2 2 2 ) texture 0 0 0 }' | head -n 6000000
  printf '}\r\n'; } >"$big"
cp "$big" "$tmp/interrupted-old.map"
ZORVIN_WINE_NO_RETRY=1 "${run[@]}" apply mp_toujane "Z:$big" >"$tmp/out" 2>"$tmp/err" &
pid=$!
for _ in $(seq 200); do compgen -G "$tmp/.interrupted.map.zorvin-*" >/dev/null && break; sleep 0.05; done
made=$(compgen -G "$tmp/.interrupted.map.zorvin-*" | wc -l)
pkill -INT -f "apply mp_toujane Z:$big"
wait "$pid"
left=$(compgen -G "$tmp/.interrupted.map.zorvin-*" | wc -l)
if [ "$made" = 1 ] && [ "$left" = 0 ] && cmp -s "$big" "$tmp/interrupted-old.map" && [ ! -e "$big.bak" ]; then
  echo "ok: Ctrl+C during apply: no temporary file left, the map as it was"
else
  echo "FAIL: Ctrl+C during apply: $made temporary file(s) made, $left left; the folder holds: $(ls -A "$tmp")"
  failures=$((failures + 1))
fi
rm -f "$big" "$tmp/interrupted-old.map"
# preview draws the shared fixtures' lights, as maps, to their pixels (within
# 1 a channel): nothing but this build is needed.
fixtures=$(dirname "$0")/preview/fixtures.json
drawn=0
while read -r n size; do
  "${run[@]}" preview "Z:$tmp/$n.map" --size "$size" --output "Z:$tmp/$n.png" 2>/dev/null
  if off=$(python3 "$(dirname "$0")/preview_fixture_maps.py" check "$fixtures" "$n" "$tmp/$n.png"); then
    drawn=$((drawn + 1))
  else
    echo "FAIL: preview of a fixture: ${off:-no picture}"
    failures=$((failures + 1))
  fi
done < <(python3 "$(dirname "$0")/preview_fixture_maps.py" maps "$fixtures" "$tmp")
echo "ok: preview of $drawn fixture lights: their pixels within 1 a channel"
# Where the Linux zorvin is built too (ZORVIN_NATIVE_CLI, or the linux
# preset's, as the test command builds it first): every stock level's PNG
# within 1 a channel of its, and the same rankings, for a level and a map.
native=${ZORVIN_NATIVE_CLI:-$(dirname "$0")/../build/linux/bin/zorvin}
if [ ! -x "$native" ]; then
  echo "not checked: the stock levels' previews and rankings against the Linux zorvin (none at $native: build the linux preset)"
else
  # Under emulation (the x86 exe: a second a start) every fifth level.
  levels=$("$native" levels)
  [ -n "${ZORVIN_SHORT_RUN:-}" ] && levels=$(awk 'NR % 5 == 1' <<<"$levels")
  worst=0 bad=() count=0
  for level in $levels; do
    count=$((count + 1))
    "${run[@]}" preview "$level" --size 96 --output "Z:$tmp/exe.png" 2>/dev/null
    "$native" preview "$level" --size 96 --output "$tmp/native.png" 2>/dev/null
    apart=$(python3 "$(dirname "$0")/png_pixels.py" "$tmp/exe.png" "$tmp/native.png" 1) || bad+=("$level: $apart")
    apart=${apart##* at most }
    [ "${apart%% *}" -gt "$worst" ] 2>/dev/null && worst=${apart%% *}
  done
  if [ ${#bad[@]} = 0 ]; then
    echo "ok: preview of $count levels: zorvin.exe's PNGs at most $worst apart from zorvin's per channel"
  else
    echo "FAIL: preview: ${bad[*]}"
    failures=$((failures + 1))
  fi
  map=$(realpath "$(dirname "$0")/maps/lit.map")
  for operands in "mp_toujane mp_toujane" "Z:$map $map"; do
    read -r exe_operand native_operand <<<"$operands"
    "${run[@]}" --lf similar "$exe_operand" --top 40 --format json >"$tmp/exe.txt" 2>&1
    "$native" similar "$native_operand" --top 40 --format json >"$tmp/native.txt" 2>&1
    if cmp -s "$tmp/exe.txt" "$tmp/native.txt"; then
      echo "ok: similar $(basename "$native_operand"): zorvin.exe prints what zorvin prints ($(grep -c '"level"' "$tmp/exe.txt") levels)"
    else
      echo "FAIL: similar $(basename "$native_operand"): $(diff "$tmp/exe.txt" "$tmp/native.txt" | head -5)"
      failures=$((failures + 1))
    fi
  done
fi
[ "$failures" = 0 ]
