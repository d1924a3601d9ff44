#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# QUILTOR_SANITIZE=ON builds into build-sanitize with AddressSanitizer and UndefinedBehaviorSanitizer;
# QUILTOR_ASSERTS=ON keeps assert() on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
build=build
sanitize=${QUILTOR_SANITIZE:-OFF}
[ "$sanitize" = ON ] && build=build-sanitize
cmake -S . -B "$build" -DQUILTOR_SANITIZE="$sanitize" -DQUILTOR_ASSERTS="${QUILTOR_ASSERTS:-OFF}" -DQUILTOR_BUILD_BENCH=OFF
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
