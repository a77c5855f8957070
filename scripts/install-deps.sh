#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# if any is missing; with the argument "web", those that the web build needs.
# Runs apt as root, or through sudo.
set -euo pipefail

if [[ "${1:-}" == web ]]; then
  packages=(cmake ninja-build ccache emscripten dpkg-dev librsvg2-bin python3)
else
  packages=(
  build-essential cmake ccache pkg-config
  qt6-base-dev qt6-webengine-dev qt6-multimedia-dev qt6-svg-dev qt6-tools-dev
  libgif-dev libbenchmark-dev libgl-dev libxkbcommon-dev
  gstreamer1.0-plugins-good fonts-ipafont-mincho fonts-ipafont-gothic
  xvfb xauth xdotool x11-apps x11-utils faketime
  at-spi2-core python3-pyatspi dbus-x11 orca locales
  librsvg2-bin desktop-file-utils appstream dpkg-dev lintian
  clang libclang-rt-14-dev
  chromium webkit2gtk-driver nginx apache2-bin media-types
)
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

apt=(apt-get -o DPkg::Lock::Timeout=900)
if [[ $(id -u) -ne 0 ]]; then
  apt=(sudo "${apt[@]}")
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! "${apt[@]}" install -y --no-install-recommends "${missing[@]}"; then
  "${apt[@]}" update
  "${apt[@]}" install -y --no-install-recommends "${missing[@]}"
fi
