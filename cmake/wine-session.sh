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

# The faces a Windows user's windows are drawn in. A prefix made from Debian's
# wine64 has no Windows fonts, and Wine does not load its own (fonts-wine) from
# /usr/share/wine/fonts by itself: without them every face falls back to the
# much wider DejaVu Sans. In the prefix's Fonts folder they load: Tahoma (the
# face of "MS Shell Dlg 2", captions and menus) and the bitmap MS Sans Serif.
# "MS Shell Dlg", the program's face, is Microsoft Sans Serif on Windows, which
# Wine lacks: it gets the closest scalable face Debian has, Liberation Sans
# (fonts-liberation2). Done once per prefix; a new version of this set-up
# changes the stamp's name.
fonts_stamp=$prefix/.zorvin-fonts-1
if [ ! -f "$fonts_stamp" ]; then
  for face in /usr/share/wine/fonts/tahoma.ttf /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf; do
    [ -f "$face" ] || { echo "missing $face: run scripts/install-deps.sh" >&2; exit 1; }
  done
  cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
  "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'MS Shell Dlg' /d 'Microsoft Sans Serif' /f </dev/null >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
    /v 'Microsoft Sans Serif' /d 'Liberation Sans' /f </dev/null >/dev/null 2>&1
  "$wineserver" -w
  touch "$fonts_stamp"
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
