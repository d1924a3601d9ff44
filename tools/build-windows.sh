#!/usr/bin/env bash
# The Windows build: installs the mingw-w64 cross compiler and Wine when missing, then builds the
# plug-in files (build-windows/plugins/*.aip) and the Windows tests. Run the tests with
#   ctest --test-dir build-windows
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --windows
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake \
  -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/wine -DQUILTOR_BUILD_BENCH=OFF
cmake --build build-windows -j"$(nproc)"
