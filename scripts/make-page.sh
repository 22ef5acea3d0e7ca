#!/bin/bash
# Writes the page zorvin export --format html gives, from the Linux zorvin, to
# OUT (default docs/index.html, which the repository's pages site serves and
# the browser tests open).
# Usage: scripts/make-page.sh [OUT]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/index.html}
cmake --preset linux >/dev/null
cmake --build --preset linux --target zorvin >/dev/null
build/linux/bin/zorvin --lf export --format html >"$out"
echo "$out: $(stat -c %s "$out") bytes"
