#!/usr/bin/env bash
# The AppKit build: installs GNUstep (gnustep-devel, gobjc++) and Xvfb when missing, builds into
# build-appkit with the select-merge plug-in showing its window controller (QUILTOR_DIALOG=appkit),
# and runs the AppKit tests on a virtual display of their own. The whole suite runs with
#   ctest --test-dir build-appkit
# (one test compares the window's merges with the terminal build in build/, when it is there).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh --appkit
cmake -S . -B build-appkit -DQUILTOR_DIALOG=appkit -DQUILTOR_BUILD_BENCH=OFF
cmake --build build-appkit -j"$(nproc)" --target quiltor-host KTRQuiltorSelectMerge KTRQuiltorAdjust \
  quiltor-samplemap test_appkit_dialog test_macos_bundle
ctest --test-dir build-appkit --output-on-failure -R 'appkit|macos_bundle'
echo "The window's screenshot: build-appkit/screenshots/appkit-selection-dialog.png"
