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
mkdir -p "$site/fonts"
cp "$build/kunishirabe.js" "$build/kunishirabe.wasm" "$build/qtloader.js" "$site/"
cp "$root"/src/platform/web/page/{index.html,page.css,page.js,manifest.webmanifest} "$site/"
cp "$root"/assets/fonts/web/{IPA_Font_License_Agreement_v1.0.txt,README.md} "$site/fonts/"
icon="$root/packaging/icons/io.github.kunishirabe.Kunishirabe.svg"
cp "$icon" "$site/icon.svg"
for size in 192 512; do
  rsvg-convert -w "$size" -h "$size" "$icon" -o "$site/icon-$size.png"
done
python3 "$web/pack-data.py" "$root/data" "$site/kunishirabe-data.bin" >/dev/null

# The service worker keeps every file of this site, under a version that
# changes whenever any of them does.
(cd "$site" && python3 - "$root/src/platform/web/page/service-worker.js" <<'PY'
import hashlib, json, os, sys
files = sorted(os.path.join(r, n)[2:] for r, _, ns in os.walk(".") for n in ns)
version = hashlib.sha256(b"".join(open(f, "rb").read() for f in files)).hexdigest()[:16]
template = open(sys.argv[1], encoding="utf-8").read()
with open("service-worker.js", "w", encoding="utf-8") as out:
    out.write(template.replace("@SITE_VERSION@", version)
              .replace("@SITE_FILES@", json.dumps(["./"] + files, ensure_ascii=False)))
PY
)
echo "The site is in $site (scripts/serve-web.sh serves it)."
