#!/bin/sh
# Runs a Windows exe under Wine in the build's private prefix.
# Usage: wine-run.sh PREFIX EXE [ARGS...]
# The caller provides the display and, for speed, a persistent wineserver (see wine-session.sh).
WINEPREFIX=$(realpath -m "$1")
shift
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
exec /usr/lib/wine/wine64 "$@"
