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
if [ "$x86" = 1 ] && [ -z "${ZORVIN_WINE_X86:-}" ]; then
  exec "$here/wine32/namespace.sh" "$prefix-preload" "$0" "${options[@]}" "$prefix" "$@"
fi

prefix_options=()
[ "${ZORVIN_WINE_DISPLAY:-}" = xvfb ] && prefix_options+=(--xvfb)
[ "$x86" = 1 ] && prefix_options+=(--x86)
unset ZORVIN_WINE_DISPLAY

. "$here/wine-env.sh"
wine_environment "$prefix"
# Scripts and tests inside the session run their exes in it (see wine-run.sh).
export ZORVIN_WINE_SESSION=1

# The server and Wine's services outlive their clients: they end with the
# session, also when it is interrupted (Ctrl+C in the run command) or killed.
# The command runs in the background so that a signal is handled at once; a
# background command ignores Ctrl+C, so it is ended here.
command_pid=
stop_wine() {
  [ -n "$command_pid" ] && kill "$command_pid" 2>/dev/null
  stop_server
}
trap stop_wine EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

prepare_prefix "${prefix_options[@]}"
start_server
rc=0
"$@" <&0 &
command_pid=$!
wait "$command_pid" || rc=$?
command_pid=
exit "$rc"
