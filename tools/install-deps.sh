#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the previews need (only those missing; a
# Japanese Gothic font, so that the previews draw the labels);
# with --windows also those of the Windows build and its tests (the mingw-w64 cross compiler, Wine,
# zip, dpkg-dev for unpacking source packages, Xvfb for the windows the tests open, netpbm for their
# screenshots); with --appkit those of the AppKit dialog on GNUstep (gnustep-devel, gobjc++, Xvfb,
# xwd and ImageMagick for screenshots); with --fuzz also clang and its libFuzzer.
set -euo pipefail
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          libpugixml-dev libpolyclipping-dev librsvg2-bin fonts-ipafont-gothic)
for flag in "$@"; do
  case $flag in
  --windows) packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 zip dpkg-dev
                        xvfb netpbm) ;;
  --appkit) packages+=(gnustep-devel gobjc++ xvfb x11-apps imagemagick) ;;
  --fuzz) packages+=(clang libclang-rt-14-dev) ;;
  *) echo "install-deps.sh: unknown option $flag" >&2; exit 2 ;;
  esac
done
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
