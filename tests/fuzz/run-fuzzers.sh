#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and fuzzes each for
# FUZZ_SECONDS (default 45), all at the same time. Any crash, sanitizer
# report, hang or failed check fails the run; the input that caused it is
# kept as build-fuzz/artifacts/<target>-crash-* (or -timeout-*, -oom-*).
#   tests/fuzz/run-fuzzers.sh                        # every target
#   FUZZ_SECONDS=3600 tests/fuzz/run-fuzzers.sh records
# Replay one input: build-fuzz/fuzz_<target> <file>
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds=${FUZZ_SECONDS:-45}
build=${FUZZ_BUILD_DIR:-build-fuzz}
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(records textlines)

if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S tests/fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++
fi
cmake --build "$build" -j"$(nproc)"

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0}
mkdir -p "$build/artifacts"

# The seed corpus in tests/fuzz/corpus stays as committed; new inputs go to
# build-fuzz/corpus, which later runs start from.
run() {
  local target=$1
  mkdir -p "$build/corpus/$target"
  "$build/fuzz_$target" "$build/corpus/$target" "tests/fuzz/corpus/$target" \
    -dict="tests/fuzz/$target.dict" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -error_exitcode=77 -timeout_exitcode=78 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" >"$build/$target.log" 2>&1
}

echo "Fuzzing ${targets[*]} for ${seconds} s each"
passed=0
failed=0
pids=()
for target in "${targets[@]}"; do
  run "$target" &
  pids+=("$!")
done
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  if wait "${pids[$i]}"; then
    passed=$((passed + 1))
    echo "fuzz_$target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$build/$target.log" | tail -n 1)"
  else
    failed=$((failed + 1))
    echo "fuzz_$target FAILED; its log ($build/$target.log) ends:"
    tail -n 60 "$build/$target.log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
