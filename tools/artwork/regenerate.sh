#!/bin/sh
# Builds kunishirabe-artwork and regenerates every generated picture and sound:
# data/画像/*.gif, data/音/*.wav, assets/pictures/*.png and data/国旗/<region>/h<n>.gif.
# usage: tools/artwork/regenerate.sh [build directory]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-"$root/build-artwork"}
cmake -S "$root" -B "$build" -DKUNISHIRABE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target kunishirabe-artwork
tool="$build/tools/artwork/kunishirabe-artwork"
"$tool" all "$root"
node "$root/tools/flags/make-flags.mjs" "$tool" "$root"
