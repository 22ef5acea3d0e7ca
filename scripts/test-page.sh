#!/bin/bash
# The page in Debian's Chromium, headless, driven by Playwright's test runner
# (pinned in tests/browser/package-lock.json; no browser is downloaded), with
# axe-core for accessibility. Opens docs/index.html and checks it against
# zorvin (build/native/bin/zorvin unless ZORVIN_CLI names another) and the
# expected files. Screenshots land in build/browser/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x /usr/bin/chromium ] || { echo "missing /usr/bin/chromium: run scripts/install-deps.sh" >&2; exit 1; }
command -v npm >/dev/null || { echo "missing npm: run scripts/install-deps.sh" >&2; exit 1; }
export ZORVIN_CLI=${ZORVIN_CLI:-$PWD/build/native/bin/zorvin}
[ -x "$ZORVIN_CLI" ] || { echo "missing $ZORVIN_CLI: build the native preset first" >&2; exit 1; }
tests/browser/install.sh
cd tests/browser
exec npx playwright test "$@"
