#!/usr/bin/env bash
# Builds the Debian package from the build tree into a temporary folder and
# runs lintian on it: any error, any warning that no override covers, or an
# override that matches nothing fails. Every override needs its reason, a
# comment above it (overrides written together share one).
# Usage: check-lintian.sh BUILD_DIR SOURCE_DIR
set -uo pipefail

build_dir=$1 source_dir=$2
export LC_ALL=C.UTF-8

if ! command -v lintian >/dev/null; then
  "$source_dir/scripts/install-deps.sh" || { echo "FAIL: cannot install lintian"; exit 1; }
fi

overrides=$source_dir/packaging/lintian-overrides
unexplained=$(awk '/^#/ { reason = 1; next } /^[[:space:]]*$/ { reason = 0; next }
                   !reason { print FILENAME ":" FNR ": " $0 }' "$overrides")
if [[ -n $unexplained ]]; then
  echo "FAIL: overrides without a reason above them:"
  echo "$unexplained"
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
debs=("$work"/*.deb)
[[ -f ${debs[0]} ]] || { echo "FAIL: cpack wrote no .deb"; exit 1; }

# Info tags are shown too, so that an override that no longer matches is seen
# (overridden hints are not shown: lintian would count them as failures).
lintian --info --pedantic --fail-on error,warning "${debs[0]}" 2>&1 \
  | grep -v '^running with root privileges' | tee "$work/lintian.txt"
status=${PIPESTATUS[0]}
((status == 0)) || { echo "FAIL: lintian reports errors or warnings (status $status)"; exit 1; }
if grep -E '^[A-Z]: [^ ]+: (unused-override|mismatched-override)' "$work/lintian.txt" >/dev/null; then
  echo "FAIL: an override matches nothing"
  exit 1
fi
echo "lintian: no errors, no warnings without an override"
