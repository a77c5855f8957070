#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the layout that the
# desktop and the Debian package rely on.
# Usage: check-install-layout.sh BUILD_DIR SOURCE_DIR APP_ID ICON_SIZES...
set -uo pipefail

build_dir=$1 source_dir=$2 app_id=$3
shift 3
icon_sizes=("$@")

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! env -u DESTDIR cmake --install "$build_dir" --prefix "$prefix" >"$prefix.log" 2>&1; then
  cat "$prefix.log"; rm -f "$prefix.log"
  echo "FAIL: cmake --install"
  exit 1
fi
rm -f "$prefix.log"

program_dir=$prefix/lib/kunishirabe
program=$program_dir/kunishirabe
[[ -f $program && ! -L $program && -x $program ]] || fail "$program is not an executable file"

# Qt WebEngine comes only with the browser plugin, loaded when a page is shown.
plugin=$program_dir/plugins/libkunishirabe_webbrowser.so
[[ -f $plugin ]] || fail "missing the browser plugin $plugin"
needed=$(LC_ALL=C readelf -d "$program" | grep NEEDED)
[[ $needed != *WebEngine* ]] || fail "the program itself links Qt WebEngine"
[[ $(LC_ALL=C readelf -d "$plugin" | grep NEEDED) == *libQt6WebEngineWidgets* ]] \
  || fail "the browser plugin does not link Qt WebEngine"

# The data directory: real copies of data/, nothing linked, nothing missing or extra.
for folder in 概要 外務省 国旗 音 画像; do
  installed=$program_dir/$folder
  if [[ ! -d $installed || -L $installed ]]; then
    fail "$installed is not a directory"
    continue
  fi
  links=$(find "$installed" -type l)
  [[ -z $links ]] || fail "links inside $installed: $links"
  diff -r "$source_dir/data/$folder" "$installed" >/dev/null || fail "$installed differs from data/$folder"
done
for sample in 概要/アジア/kuni.txt 外務省/アジア/url.txt 国旗/h1.txt 音/o.wav 画像/maru.gif; do
  [[ -s $program_dir/$sample ]] || fail "missing $program_dir/$sample"
done

# bin/kunishirabe: a relative link that resolves to the program.
link=$prefix/bin/kunishirabe
if [[ ! -L $link ]]; then
  fail "$link is not a symbolic link"
else
  target=$(readlink "$link")
  [[ $target == ../lib/kunishirabe/kunishirabe ]] || fail "$link points to '$target'"
  [[ $(readlink -f "$link") == $(readlink -f "$program") ]] || fail "$link does not resolve to the program"
fi

# Desktop entry, metainfo and icons under one id.
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if [[ -f $desktop ]]; then
  grep -qx "Icon=$app_id" "$desktop" || fail "$desktop: Icon is not $app_id"
  grep -qx "Exec=kunishirabe" "$desktop" || fail "$desktop: Exec is not kunishirabe"
else
  fail "missing $desktop"
fi
if [[ -f $metainfo ]]; then
  grep -q "<id>$app_id</id>" "$metainfo" || fail "$metainfo: id is not $app_id"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "$metainfo: launchable is not $app_id.desktop"
else
  fail "missing $metainfo"
fi

icons=$prefix/share/icons/hicolor
[[ -s $icons/scalable/apps/$app_id.svg ]] || fail "missing the scalable icon"
for size in "${icon_sizes[@]}"; do
  png=$icons/${size}x${size}/apps/$app_id.png
  if [[ ! -s $png ]]; then
    fail "missing $png"
    continue
  fi
  # PNG signature, then IHDR width and height as big-endian 32-bit numbers.
  read -r -a header < <(od -An -tu1 -N24 "$png" | tr '\n' ' ')
  signature="${header[*]:0:8}"
  width=$(( (header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19] ))
  height=$(( (header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23] ))
  [[ $signature == "137 80 78 71 13 10 26 10" ]] || fail "$png is not a PNG"
  [[ $width == "$size" && $height == "$size" ]] || fail "$png is ${width}x${height}, not ${size}x${size}"
done

if ((failures > 0)); then
  echo "$failures layout problem(s)"
  exit 1
fi
echo "layout OK under $prefix"
