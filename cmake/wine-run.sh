#!/bin/bash
# Runs a Windows exe under Wine in a build's private prefix: the builds run
# their tests through it (CMAKE_CROSSCOMPILING_EMULATOR).
#
# Usage: wine-run.sh [--x86] [--dpi N] PREFIX EXE [ARGS...]
#        wine-run.sh --stop PREFIX
#
# Inside a session of wine-session.sh the exe runs in that session. On its
# own, it starts what the exe needs once, for later runs to reuse: a private
# Xvfb display (never the user's: the tests press keys) and a persistent
# wineserver. --stop, the tests' last step, ends them. An x86 exe runs so only
# where 32-bit exes can run (cmake/wine32/namespace.sh); elsewhere it runs in
# a session of its own (slower: the set-up is per exe).
#
# CTest runs the Windows tests side by side, each holding one of the build's
# Wine sessions (the resource "wine" of wine-sessions.json in the build
# folder): session 0 is PREFIX itself, session N a prefix, display and server
# of its own in PREFIX-sessions/N. Each has its own desktop, foreground window
# and clipboard, so tests that press keys never meet.
#
# --dpi N: the exe runs in a session of its own whose display is at N DPI.
# Wine fixes the monitor's DPI when a session starts (Wine 10; Wine 8 reads it
# in every process), so the shared server ends first, LogPixels is set while no
# session runs, and afterwards the display is set back to 96 for the next run.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
. "$here/wine-env.sh"

x86=0 stop=0 dpi=
while [ $# -gt 0 ]; do
  case $1 in
    --x86) x86=1; shift ;;
    --stop) stop=1; shift ;;
    --dpi) dpi=$2; shift 2 ;;
    *) break ;;
  esac
done
prefix=$(realpath -m "$1")
shift
# Where each start that Wine failed is noted (scripts/test.sh counts them).
retries_log=$(dirname "$prefix")/wine-start-retries.log
# The session CTest gave this test: CTEST_RESOURCE_GROUP_0_WINE is "id:N,slots:1".
session=${CTEST_RESOURCE_GROUP_0_WINE:-id:0}
session=${session#id:}
session=${session%%,*}
[ "$session" = 0 ] || prefix=$prefix-sessions/$session
wine_environment "$prefix"

# Runs the exe once; if Wine failed to start it (it ended at once, with a
# failing status and not a byte on either stream), notes it and runs it once
# more. Only that: a test that fails on its own fails. ZORVIN_WINE_NO_RETRY=1
# for a run that is ended on purpose.
run_wine() {  # EXE [ARGS...]
  if [ -n "${ZORVIN_WINE_NO_RETRY:-}" ]; then
    "$ZORVIN_WINE" "$@"
    return
  fi
  local out err rc=0 started=$SECONDS
  out=$(mktemp) err=$(mktemp)
  "$ZORVIN_WINE" "$@" >"$out" 2>"$err" || rc=$?
  if [ "$rc" != 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ] && [ $((SECONDS - started)) -le 2 ]; then
    echo "wine-run: Wine ended $(basename "$1") at once with status $rc and printed nothing; starting it once more" >&2
    echo "$(date -u +%FT%TZ) $* (status $rc)" >>"$retries_log"
    rc=0
    "$ZORVIN_WINE" "$@" >"$out" 2>"$err" || rc=$?
  fi
  cat "$out"
  cat "$err" >&2
  rm -f "$out" "$err"
  return "$rc"
}

set_dpi() {  # N: for the next session to start
  stop_server
  quiet "$ZORVIN_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
  stop_server
}
# Runs the exe in a fresh session at $dpi and ends that session.
run_at_dpi() {  # EXE [ARGS...]
  local rc=0
  set_dpi "$dpi"
  run_wine "$@" || rc=$?
  set_dpi 96
  return "$rc"
}

state=$prefix-display
# A process that has ended but is not yet reaped (its parent may be long gone) counts as ended.
alive() {  # PID_FILE
  local pid
  pid=$(cat "$1" 2>/dev/null) || return 1
  [ -r "/proc/$pid/stat" ] && [ "$(cut -d' ' -f3 "/proc/$pid/stat")" != Z ]
}
xvfb_running() { alive "$state/xvfb.pid"; }

if [ "$stop" = 1 ]; then
  # Every session of the build that this script started (a wine-session.sh
  # session ends its own).
  states=("$prefix"-sessions/*-display)
  [ -n "${ZORVIN_WINE_SESSION:-}" ] || states+=("$prefix-display")
  for state in "${states[@]}"; do
    [ -d "$state" ] || continue
    (
      wine_environment "${state%-display}"
      exec 9>"$state/lock"
      flock 9
      stop_server
      xvfb_running && kill "$(cat "$state/xvfb.pid")"
      rm -f "$state/xvfb.pid" "$state/display" "$state/server.pid"
    )
  done
  exit 0
fi

if [ -n "${ZORVIN_WINE_SESSION:-}" ] && [ "$session" = 0 ]; then
  if [ -z "$dpi" ]; then
    rc=0
    run_wine "$@" || rc=$?
    exit "$rc"
  fi
  rc=0
  run_at_dpi "$@" || rc=$?
  start_server  # the session's own server again, for what runs after
  exit "$rc"
fi

if [ "$x86" = 1 ] && [ -z "${ZORVIN_WINE_X86:-}" ]; then
  unset CTEST_RESOURCE_GROUP_0_WINE  # the session's prefix is this test's already
  exec "$here/wine-session.sh" --xvfb --x86 "$prefix" "$0" ${dpi:+--dpi "$dpi"} "$prefix" "$@"
fi

x86_option=()
[ "$x86" = 1 ] && x86_option=(--x86)
# One caller at a time sets up; the lock is not passed on to what starts here.
mkdir -p "$state"
exec 9>"$state/lock"
flock 9
if ! xvfb_running; then
  rm -f "$state/display"
  Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$state/display" 9>&- </dev/null >/dev/null 2>&1 &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do
    [ -s "$state/display" ] && break
    sleep 0.1
  done
  [ -s "$state/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
fi
export DISPLAY=:$(cat "$state/display")
if [ -n "$dpi" ]; then
  # Under the lock: no other run may start the shared server meanwhile. The
  # next run starts it again (its process is gone).
  prepare_prefix --xvfb "${x86_option[@]}" 9>&-
  rc=0
  run_at_dpi "$@" 9>&- || rc=$?
  exit "$rc"
fi
if ! alive "$state/server.pid"; then
  prepare_prefix --xvfb "${x86_option[@]}" 9>&-
  # A persistent server whose process is known, so that a later run can tell it ended.
  "$ZORVIN_WINESERVER" -f -p </dev/null >/dev/null 2>&1 9>&- &
  echo $! >"$state/server.pid"
  warm_server 9>&-
fi
exec 9>&-
rc=0
run_wine "$@" || rc=$?
exit "$rc"
