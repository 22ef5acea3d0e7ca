#!/bin/bash
# zorvin.exe under Wine prints a few levels and categories exactly as the
# expected files hold them, each line ended by CR LF, and a name not found
# gets status 1 and a suggestion.
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
[ "$failures" = 0 ]
