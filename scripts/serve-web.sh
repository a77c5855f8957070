#!/usr/bin/env bash
# Serves the web page that scripts/build-web.sh made on http://127.0.0.1:PORT/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
port=${1:-8080}
site="$root/build-web/site"
[[ -f "$site/index.html" ]] || { echo "No site in $site: run scripts/build-web.sh first." >&2; exit 1; }
echo "世界の国しらべ: http://127.0.0.1:$port/"
exec python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
