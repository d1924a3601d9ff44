#!/usr/bin/env bash
# Fuzzes one target of tests/fuzz, or all of them, for SECONDS each:
#   bash tools/fuzz.sh NAME|all SECONDS
# Builds them with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz. Each starts from its corpus in tests/fuzz/corpus/NAME; inputs it finds go to
# build-fuzz/corpus/NAME, and an input that crashes to build-fuzz/artifacts/NAME (copy it into
# tests/fuzz/corpus/NAME, where every build replays it as a test). Exit status 1 on a crash.
# QUILTOR_FUZZ_SEED fixes libFuzzer's seed (0, the default: a new one each run). A target with a
# tests/fuzz/NAME.dict gets it as libFuzzer's dictionary. merge_files runs the quiltor-host program
# for every input, so it makes a few inputs a second where the others make thousands.
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(tile_names folder_scan svg_reader seam_joins adjust merge_tile merge_files)
name=${1:?usage: fuzz.sh NAME|all SECONDS}
seconds=${2:?usage: fuzz.sh NAME|all SECONDS}
[ "$name" = all ] || targets=("$name")
bash tools/install-deps.sh --fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DQUILTOR_FUZZ=ON -DQUILTOR_SANITIZE=ON -DQUILTOR_ASSERTS=ON \
  -DQUILTOR_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  artifacts=build-fuzz/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  dict=()
  [ -f "tests/fuzz/$target.dict" ] && dict=(-dict="tests/fuzz/$target.dict")
  echo "== $target, $seconds s"
  if ! "build-fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -seed="${QUILTOR_FUZZ_SEED:-0}" -print_final_stats=1 \
      "${dict[@]}" -artifact_prefix="$artifacts/" "$corpus" "tests/fuzz/corpus/$target" 2>"build-fuzz/$target.log"; then
    echo "$target: a crash; see build-fuzz/$target.log and $artifacts" >&2
    tail -n 30 "build-fuzz/$target.log" >&2
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build-fuzz/$target.log" || true
done
exit $status
