#!/bin/bash
# A map never lost on a bad day: zorvin apply on a 3 MB map (CR LF) from the
# generator while a system call misbehaves (file_faults.so, by LD_PRELOAD),
# another program saves the map, or another user runs it. Each row names what
# the map must then hold (its old bytes, apply's, or the other program's), the
# exit status, and the names its folder must hold: nothing new is left of a
# try that failed. The other users' rows need root, to become them.
# Usage: map_fault_test.sh ZORVIN FILE_FAULTS_SO MAKE_MAP WORK_DIR
set -uo pipefail
zorvin=$1 faults=$2 make_map=$3 work=$4
# The shim comes before the sanitizers' runtime in the list of libraries.
export ASAN_OPTIONS=verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}
rm -rf "$work"
mkdir -p "$work"
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

"$make_map" 3 old.map --crlf
cp old.map new.map
"$zorvin" apply mp_toujane new.map --no-backup >/dev/null || { echo "FAIL: apply without faults"; exit 1; }
printf '{\r\n"classname" "worldspawn"\r\n"note" "saved by an editor"\r\n}\r\n' >editor.map

failures=0
# check NAME EXPECTED_STATUS STATUS MAP(old|new|editor) FILE NAMES [OWNERSHIP EXPECTED]
check() {
  local name=$1 want_status=$2 status=$3 want_map=$4 map=$5 want_names=$6 names state=TORN
  names=$(cd "$(dirname "$map")" && ls -A | sort | paste -sd ' ')
  for kind in old new editor; do cmp -s "$map" "$kind.map" && state=$kind; done
  local bad=""
  [ "$status" = "$want_status" ] || bad+=" status $status, not $want_status;"
  [ "$state" = "$want_map" ] || bad+=" the map is the $state one, not the $want_map one;"
  [ "$names" = "$want_names" ] || bad+=" its folder holds '$names', not '$want_names';"
  if [ $# -ge 8 ]; then
    local owned
    owned=$(stat -c '%G %a' "$map")
    [ "$owned" = "$8" ] || bad+=" its group and mode are '$owned', not '$8';"
  fi
  if [ -n "$bad" ]; then
    echo "FAIL: $name:$bad"
    sed 's/^/    /' out err
    failures=$((failures + 1))
  else
    echo "ok: $name"
  fi
}

# name | fault | status | the map then | the folder's names
while IFS='|' read -r name fault want_status want_map want_names; do
  rm -rf run && mkdir run
  cp old.map run/m.map
  cp editor.map run/.editor-save
  ZORVIN_FAULT=$fault ZORVIN_FAULT_ARG=run/.editor-save LD_PRELOAD=$faults \
    "$zorvin" apply mp_toujane run/m.map >out 2>err
  status=$?
  if [ "$fault" = killed-copying-backup ]; then
    # A kill leaves its temporary files; no name may hold part of the old bytes.
    rm -f run/.m.map.zorvin-*.tmp
  fi
  # The editor's new file is renamed over the map in the rows that have one.
  rm -f run/.editor-save
  check "$name" "$want_status" "$status" "$want_map" run/m.map "$want_names"
done <<'ROWS'
an editor saves while a backup is copied|editor-saves|5|editor|m.map
an editor saves while a backup is copied, no exchange of names|editor-saves-late|5|editor|m.map
an editor saves as the names are exchanged: its file is put back|editor-saves-last|5|editor|m.map
a kill while a backup is copied leaves no short backup|killed-copying-backup|137|old|m.map
no hard links: the backup is a whole copy|link-refused|0|new|m.map m.map.bak
the new file's permissions cannot be set|fchmod-fails|5|old|m.map
the system's copy ends early|copy-ends-early|0|new|m.map m.map.bak
a read ends early|read-ends-early|5|old|m.map
the folder's flush fails|folder-flush-fails|3|new|m.map m.map.bak
no thread can be started|no-threads|0|new|m.map m.map.bak
ROWS

# Other users: root's map written through its group by a member, and root's
# map that another user may not write, in folders anyone may write.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  group=$(getent group users | cut -d: -f3)
  as_member=(setpriv --reuid=65534 --regid=65534 --groups="$group")
  as_other=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  # name | who | the map's mode | the folder's | status | the map then | the folder's names | the map's group and mode after
  while IFS='|' read -r name who map_mode folder_mode want_status want_map want_names want_owned; do
    rm -rf run && mkdir run
    cp old.map run/m.map
    chown "0:$group" run run/m.map
    chmod "$map_mode" run/m.map
    chmod "$folder_mode" run
    if [ "$who" = member ]; then runner=("${as_member[@]}"); else runner=("${as_other[@]}"); fi
    "${runner[@]}" "$zorvin" apply mp_toujane run/m.map >out 2>err
    check "$name" "$want_status" $? "$want_map" run/m.map "$want_names" . "$want_owned"
  done <<ROWS
a member of the map's group keeps the group and the mode|member|664|775|0|new|m.map m.map.bak|users 664
another user's map that this user may not write, in a folder anyone may write|other|644|777|5|old|m.map|users 644
another user's map in a sticky folder anyone may write|other|666|1777|5|old|m.map|users 666
ROWS
else
  echo "skipped: the other users' rows (they need root and setpriv)"
fi

[ "$failures" -eq 0 ] || { echo "FAIL: $failures of the rows above"; exit 1; }
echo "every row holds"
