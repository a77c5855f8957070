#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite
# headless (no display or sound card needed), then the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan), then a short
# fuzzing run of the data-file readers (build-fuzz; FUZZ_SECONDS each), then
# the web page (scripts/build-web.sh) in chromium and WebKit.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
tests/sanitizers/run-sanitized-tests.sh
tests/fuzz/run-fuzzers.sh
scripts/build-web.sh
tests/web/run-web-tests.sh
