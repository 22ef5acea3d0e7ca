#!/bin/bash
# Writes docs/index.html afresh: the page zorvin export --format html gives,
# which the repository's pages site serves and the browser tests open.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset linux >/dev/null
cmake --build --preset linux --target zorvin >/dev/null
build/linux/bin/zorvin --lf export --format html >docs/index.html
echo "docs/index.html: $(stat -c %s docs/index.html) bytes"
