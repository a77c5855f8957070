#!/usr/bin/env bash
# Builds Qt's base module for WebAssembly from Debian's own source package, once, into a cache
# outside the repository. Prints the install prefix as its last line. Reused while the Qt
# version, the emscripten version and the options below stay the same.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/web/emsdk-env.sh
source "$here/emsdk-env.sh"

cache=${KUNISHIRABE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kunishirabe}
options=(-release -static -nomake tests -nomake examples -no-feature-thread -no-dbus -no-icu
  -no-glib -no-fontconfig -no-zstd -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz
  -qt-pcre -no-feature-sql -no-feature-printsupport -no-feature-testlib -no-feature-xml
  -no-feature-concurrent -no-feature-androiddeployqt -no-feature-network)

qt_version=$(apt-cache policy qt6-base-dev | awk '/Candidate:/ {print $2}')
emscripten_version=$(dpkg-query -W -f='${Version}' emscripten)
key=$(printf '%s\n' "$qt_version" "$emscripten_version" "${options[*]}" | sha256sum | cut -c1-12)
prefix="$cache/qt-wasm-${qt_version%%+*}-$key"
if [[ -f "$prefix/.complete" ]]; then
  echo "$prefix"
  exit 0
fi

work="$cache/qt-wasm-work"
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/source"

# A deb-src entry for each of the machine's own Debian sources (same URIs and suites), used
# through a private apt state so that the system's lists stay as they are.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
python3 "$here/debian-source-entries.py" "$codename" > "$work/apt/sources.list"
apt_private=(-o Dir::Etc::SourceList="$work/apt/sources.list" -o Dir::Etc::SourceParts=/nonexistent
  -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache"
  -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
apt-get "${apt_private[@]}" update >/dev/null
(cd "$work/source" && apt-get "${apt_private[@]}" source --only-source "qt6-base=$qt_version" >/dev/null)
src=$(find "$work/source" -maxdepth 1 -mindepth 1 -type d -name 'qt6-base-*' | head -n1)

mkdir -p "$work/build"
cd "$work/build"
"$src/configure" -platform wasm-emscripten -qt-host-path /usr -prefix "$prefix" "${options[@]}" \
  -- -G Ninja -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_TOOLCHAIN_FILE="$EMSDK/upstream/emscripten/cmake/Modules/Platform/Emscripten.cmake" >configure.log 2>&1 \
  || { tail -n 40 configure.log >&2; exit 1; }
cmake --build . --parallel >build.log 2>&1 || { tail -n 60 build.log >&2; exit 1; }
cmake --install . >/dev/null
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
