#!/bin/bash
# Installs the page's test runner and axe-core as package-lock.json pins them
# (no browser is downloaded: the tests drive Debian's Chromium), again only when
# the lock file changed since the last install.
set -euo pipefail
cd "$(dirname "$0")"
lock=$(sha256sum <package-lock.json)
[ "$(cat node_modules/.zorvin-lock 2>/dev/null)" = "$lock" ] && exit 0
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
echo "$lock" >node_modules/.zorvin-lock
