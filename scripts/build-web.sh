#!/usr/bin/env bash
# Builds the program as a web page: static files in build-web/site/, index.html
# the entry. Installs what is missing from Debian, builds Qt for WebAssembly
# from Debian's source once (cached outside the repository), then the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
web="$root/scripts/web"
build="$root/build-web/cmake"
site="$root/build-web/site"

"$root/scripts/install-deps.sh" web
qt=$("$web/build-qt-wasm.sh" | tail -n1)
# shellcheck source=scripts/web/emsdk-env.sh
source "$web/emsdk-env.sh"

"$qt/bin/qt-cmake" -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target kunishirabe

rm -rf "$site"
mkdir -p "$site/fonts" "$site/admin"
page="$root/src/platform/web/page"
cp "$build/kunishirabe.js" "$build/kunishirabe.wasm" "$build/qtloader.js" "$site/"
cp "$page"/{index.html,page.css,page.js,manifest.webmanifest,service-worker.js,.htaccess,web.config} "$site/"
cp "$page/nginx.conf" "$web/update-site.py" "$site/admin/"
cp "$root"/assets/fonts/web/{IPA_Font_License_Agreement_v1.0.txt,README.md} "$site/fonts/"
icon="$root/packaging/icons/io.github.kunishirabe.Kunishirabe.svg"
cp "$icon" "$site/icon.svg"
for size in 192 512; do
  rsvg-convert -w "$size" -h "$size" "$icon" -o "$site/icon-$size.png"
done
# The data bundle, the version and the offline cache's list: the same step a school runs after
# editing the data (admin/update-site.py).
python3 "$site/admin/update-site.py" "$root/data"
echo "The site is in $site (scripts/serve-web.sh serves it)."
