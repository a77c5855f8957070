# Sourced: points EMSDK at an emsdk-shaped folder of links into Debian's emscripten
# (/usr/share/emscripten and the /usr/bin/em* commands), which Qt's WebAssembly files expect.
emsdk_dir=${KUNISHIRABE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kunishirabe}/emsdk
if [[ ! -e "$emsdk_dir/upstream/emscripten/emcc" ]]; then
  mkdir -p "$emsdk_dir/upstream/emscripten"
  for entry in /usr/share/emscripten/* /usr/share/emscripten/.emscripten /usr/bin/em*; do
    ln -sfn "$entry" "$emsdk_dir/upstream/emscripten/$(basename "$entry")"
  done
fi
# Qt reads EMSCRIPTEN_ROOT from here, relative to EMSDK; emcc keeps Debian's own configuration.
echo "EMSCRIPTEN_ROOT = emsdk_path + '/upstream/emscripten'" > "$emsdk_dir/.emscripten"
export EMSDK=$emsdk_dir
# Debian's emcc needs Debian's node modules when /usr/bin/node comes from elsewhere.
export NODE_PATH=/usr/share/nodejs
