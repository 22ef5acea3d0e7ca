#!/bin/bash
# The manual page zorvin(1): groff and man render it without a warning, and it
# names every command and option zorvin's --help lists, its own and each
# command's.
# Usage: man_page_test.sh MAN_PAGE ZORVIN
set -uo pipefail
page=$1
zorvin=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

warnings=$(groff -ww -man -z "$page" 2>&1)
[ -z "$warnings" ] && echo "ok: groff -ww -man -z says nothing" || fail "groff: $warnings"
rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"${TMPDIR:-/tmp}/man-warnings.$$")
warnings=$(cat "${TMPDIR:-/tmp}/man-warnings.$$"); rm -f "${TMPDIR:-/tmp}/man-warnings.$$"
[ -z "$warnings" ] && echo "ok: man --warnings says nothing" || fail "man: $warnings"

# The commands under "Commands:", and every option of every --help.
commands=$("$zorvin" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]\+\) .*/\1/p')
[ -n "$commands" ] || fail "zorvin --help lists no commands"
names=$commands
for command in "" $commands; do
  # shellcheck disable=SC2086
  names+=" $("$zorvin" $command --help | sed -n 's/^  \(-h, \)\{0,1\}\(-[^ ]*\).*/\1\2/p' | tr -d ' ' | tr ',' '\n' | sort -u | tr '\n' ' ')"
done
checked=0
for name in $names; do
  # A name stands as a word of its own in the rendered page.
  grep -qE -- "(^|[^[:alnum:]_-])$name([^[:alnum:]_-]|$)" <<<"$rendered" || fail "the page does not name $name"
  checked=$((checked + 1))
done
echo "ok: $checked names from --help checked against the page"
[ "$failures" -eq 0 ]
