#!/bin/bash
# Runs a command inside one Wine session: a private prefix, one persistent
# wineserver and one X display, so that every Wine process the command starts
# shares them.
#
# Usage: wine-session.sh [--xvfb] [--x86] PREFIX COMMAND [ARGS...]
#   --xvfb   always use a fresh Xvfb display (tests); without it an existing
#            $DISPLAY is used when there is one.
#   --x86    also run 32-bit Windows exes: Wine's 32-bit half runs under
#            qemu's user-mode emulation (see cmake/wine32/).
set -euo pipefail

use_xvfb=0
x86=0
while [ $# -gt 0 ]; do
  case $1 in
    --xvfb) use_xvfb=1; shift ;;
    --x86) x86=1; shift ;;
    *) break ;;
  esac
done
prefix=$(realpath -m "$1")
shift
here=$(dirname "$(realpath "$0")")
options=()
[ "$use_xvfb" = 1 ] && options+=(--xvfb)
[ "$x86" = 1 ] && options+=(--x86)

if [ -z "${ZORVIN_WINE_DISPLAY:-}" ] && { [ "$use_xvfb" = 1 ] || [ -z "${DISPLAY:-}" ]; }; then
  export ZORVIN_WINE_DISPLAY=xvfb
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "${options[@]}" "$prefix" "$@"
fi
if [ "$x86" = 1 ]; then
  preload=$prefix-preload
  if [ -z "${ZORVIN_WINE_NAMESPACE:-}" ]; then
    "$here/wine32/setup.sh" "$preload"
    # A namespace of the session's own: the emulator's registration below is
    # seen by this process tree only, and when the session ends every process
    # it started ends with it.
    export ZORVIN_WINE_NAMESPACE=1
    exec unshare --user --map-root-user --mount --pid --fork --kill-child --mount-proc \
      "$0" "${options[@]}" "$prefix" "$@"
  fi
  "$here/wine32/register-qemu.sh"
  # A literal $LIB: the loader picks the i386 library for 32-bit processes and
  # its empty twin for 64-bit ones.
  export LD_PRELOAD="$preload/\$LIB/libzorvin-trapno.so${LD_PRELOAD:+ $LD_PRELOAD}"
fi

on_xvfb=0
[ "${ZORVIN_WINE_DISPLAY:-}" = xvfb ] && on_xvfb=1
unset ZORVIN_WINE_DISPLAY ZORVIN_WINE_NAMESPACE

export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
quiet() { "$@" </dev/null >/dev/null 2>&1; }

# The server and Wine's services outlive their clients: they end with the
# session, also when it is interrupted (Ctrl+C in the run command) or killed.
# The command runs in the background so that a signal is handled at once; a
# background command ignores Ctrl+C, so it is ended here.
command_pid=
stop_wine() {
  [ -n "$command_pid" ] && kill "$command_pid" 2>/dev/null
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
}
trap stop_wine EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  quiet "$wine" wineboot -i
  if [ "$on_xvfb" = 1 ]; then
    # Xvfb has no window manager: with Wine's managed windows every hide or
    # destroy of a captioned window waits two seconds for one.
    quiet "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
  fi
  if [ "$x86" = 1 ]; then
    # The debugger cannot attach to an emulated process, and its crash dialog
    # would wait for ever: a crash ends the process with its exception code.
    quiet "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
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
  quiet "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'MS Shell Dlg' /d 'Microsoft Sans Serif' /f
  quiet "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' \
    /v 'Microsoft Sans Serif' /d 'Liberation Sans' /f
  "$wineserver" -w
  touch "$fonts_stamp"
fi

# A persistent, warmed-up server: otherwise each exe pays seconds of start-up,
# and Wine's background services would inherit the caller's output pipes.
"$wineserver" -p
quiet "$wine" wineboot || true
# Every session starts at 96 DPI; a DPI test changes it only for the children it starts.
quiet "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f || true
rc=0
"$@" <&0 &
command_pid=$!
wait "$command_pid" || rc=$?
command_pid=
exit "$rc"
