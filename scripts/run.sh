#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the data
# directory that the build places beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target kunishirabe
exec ./build/kunishirabe "$@"
