#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the previews need (only those missing);
# with --windows also those of the Windows build and its tests (the mingw-w64 cross compiler, Wine,
# zip, dpkg-dev for unpacking source packages, Xvfb and a Japanese Gothic font for the windows the
# tests open, netpbm for their screenshots).
set -euo pipefail
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libpugixml-dev libpolyclipping-dev librsvg2-bin)
[ "${1:-}" = --windows ] && packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 zip dpkg-dev
                                      xvfb fonts-ipafont-gothic netpbm)
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
