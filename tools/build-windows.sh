#!/usr/bin/env bash
# The Windows build: installs the mingw-w64 cross compiler and Wine when missing, then builds the
# plug-in files (build-windows/plugins/*.aip) and the Windows tests. Run the tests with
#   ctest --test-dir build-windows
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 googletest)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
fi
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake \
  -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/wine -DQUILTOR_BUILD_BENCH=OFF
cmake --build build-windows -j"$(nproc)"
