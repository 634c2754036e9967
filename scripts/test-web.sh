#!/usr/bin/env bash
# The browser build's test (web/browser-test/browser_test.mjs) against the page in WEB_DIR, in the
# system's headless Chromium. Its npm packages, pinned by the lock file, go into
# WEB_DIR/browser-test/ (installed again only when the lock file changes); screenshots, the console
# and the results go to WEB_DIR/browser-test/logs/ (LOG_DIR overrides). Extra arguments go to the
# test (--player-file NAME).
#   scripts/test-web.sh WEB_DIR [--player-file NAME]
set -euo pipefail
web=$(cd "${1:?usage: test-web.sh WEB_DIR [--player-file NAME]}" && pwd)
shift
source_dir=$(cd "$(dirname "$0")/../web/browser-test" && pwd)
test_dir="$web/browser-test"
logs=${LOG_DIR:-"$test_dir/logs"}
mkdir -p "$test_dir" "$logs"
cp "$source_dir/package.json" "$source_dir/package-lock.json" "$source_dir/browser_test.mjs" "$test_dir/"
if ! cmp -s "$test_dir/package-lock.json" "$test_dir/node_modules/.installed-lock.json" 2>/dev/null; then
  (cd "$test_dir" && npm ci --no-audit --no-fund --loglevel=error)
  cp "$test_dir/package-lock.json" "$test_dir/node_modules/.installed-lock.json"
fi
rm -f "$logs"/*.png
# The script sits beside its node_modules, where node finds puppeteer-core.
status=0
node "$test_dir/browser_test.mjs" "$web" "$logs" "$@" || status=$?
echo "browser test logs and screenshots: $logs"
exit "$status"
