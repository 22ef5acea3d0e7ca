#!/bin/bash
# Runs a command inside one Wine session: a private prefix, one persistent
# wineserver and one X display, so that every Wine process the command starts
# shares them.
#
# Usage: wine-session.sh [--xvfb] PREFIX COMMAND [ARGS...]
#   --xvfb   always use a fresh Xvfb display (tests); without it an existing
#            $DISPLAY is used when there is one.
set -euo pipefail

use_xvfb=0
if [ "${1:-}" = "--xvfb" ]; then use_xvfb=1; shift; fi
if [ "${1:-}" = "--inner" ]; then inner=1; shift; else inner=0; fi
on_xvfb=$inner
prefix=$(realpath -m "$1")
shift

if [ "$inner" = 0 ] && { [ "$use_xvfb" = 1 ] || [ -z "${DISPLAY:-}" ]; }; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inner "$prefix" "$@"
fi

export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  "$wine" wineboot -i </dev/null >/dev/null 2>&1
  if [ "$on_xvfb" = 1 ]; then
    # Xvfb has no window manager: with Wine's managed windows every hide or
    # destroy of a captioned window waits two seconds for one.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  fi
  "$wineserver" -w
fi

# A persistent, warmed-up server: otherwise each exe pays seconds of start-up,
# and Wine's background services would inherit the caller's output pipes.
"$wineserver" -p
"$wine" wineboot </dev/null >/dev/null 2>&1 || true
# Every session starts at 96 DPI; a DPI test changes it only for the children it starts.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f </dev/null >/dev/null 2>&1 || true
rc=0
"$@" || rc=$?
"$wineserver" -k || true
"$wineserver" -w || true
exit "$rc"
