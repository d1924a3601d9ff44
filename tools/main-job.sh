#!/usr/bin/env bash
# The main job on a fresh machine: install what is missing, build, start the plug-ins in the
# substitute host, list their menus and show each about box.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DQUILTOR_BUILD_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"
host=build/host/quiltor-host
echo "== menus the plug-ins added"
"$host" menus
echo "== about boxes"
"$host" run "Quiltor セレクトマージ ..." --new A4
"$host" run "Quiltor アジャスト ..." --new A4
