#!/usr/bin/env bash
# Runs the web page that scripts/build-web.sh made through Debian's chromium
# (headless, over the DevTools protocol) and WebKitGTK's MiniBrowser (over
# WebDriver, under its own Xvfb and session bus). Screenshots of each step go
# to build-web/screenshots/{chromium,webkit}/.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
site="$root/build-web/site"
shots="$root/build-web/screenshots"
[[ -f "$site/index.html" ]] || { echo "No site in $site: run scripts/build-web.sh first." >&2; exit 1; }

cd "$root/tests/web"
npm ci --no-audit --no-fund --loglevel=error
rm -rf "$shots"
echo "== chromium"
node browser-journey.js "$site" "$root/data" "$shots/chromium"
echo "== webkit"
dbus-run-session -- /usr/bin/python3 webkit-journey.py "$site" --shots "$shots/webkit"
