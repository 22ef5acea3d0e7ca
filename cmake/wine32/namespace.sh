#!/bin/bash
# Runs a command where 32-bit Windows exes can run: in a user, mount and PID
# namespace of its own, in which qemu is registered as the interpreter of i386
# programs (the machine's own registrations are untouched) and the trap-number
# library (trapno.c, built into PRELOAD_DIR) is preloaded. Every process the
# command started ends with it.
#
# Usage: namespace.sh PRELOAD_DIR COMMAND [ARGS...]
# Inside, ZORVIN_WINE_X86 is set: wine-run.sh then runs x86 exes at once,
# each build's display and server started once and shared, as for x64.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
preload=$(realpath -m "$1")
shift

if [ -z "${ZORVIN_WINE_X86:-}" ]; then
  "$here/setup.sh" "$preload"
  export ZORVIN_WINE_X86=1
  exec unshare --user --map-root-user --mount --pid --fork --kill-child --mount-proc \
    "$0" "$preload" "$@"
fi

"$here/register-qemu.sh"
# A literal $LIB: the loader picks the i386 library for 32-bit processes and
# its empty twin for 64-bit ones.
export LD_PRELOAD="$preload/\$LIB/libzorvin-trapno.so${LD_PRELOAD:+ $LD_PRELOAD}"
# This shell is the namespace's first process: it stays, so that it reaps what
# ends in the namespace, and passes on a signal to the command.
trap 'kill "$command_pid" 2>/dev/null' INT TERM
"$@" <&0 &
command_pid=$!
rc=0
wait "$command_pid" || rc=$?
# A signal ends the first wait early; wait for the command itself.
while kill -0 "$command_pid" 2>/dev/null; do wait "$command_pid" || rc=$?; done
exit "$rc"
