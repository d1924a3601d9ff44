#!/usr/bin/env bash
# The main job on a fresh machine: install what is missing, build, draw a block of sample tiles and
# merge them with "Quiltor セレクトマージ" in the substitute host, then cut the merged map to an
# outline with "Quiltor アジャスト".
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DQUILTOR_BUILD_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target quiltor-host quiltor-samplemap KTRQuiltorSelectMerge KTRQuiltorAdjust
host=build/host/quiltor-host
samplemap=build/tools/samplemap/quiltor-samplemap
out=out/main-job
rm -rf "$out"
echo "== sample tiles: 3 x 3 secondary-mesh squares at 1/25000"
"$samplemap" -o "$out/tiles"
echo "== merge"
"$host" merge "$out/tiles" -o "$out/merged.svg" --page A0-landscape --preview "$out/merged.png"
echo "== adjust: cut the merged map to a drawn outline"
"$host" adjust "$out/merged.svg" -o "$out/adjusted.svg" \
  --outline "1100,2200 2600,2000 2900,3100 2000,3800 1000,3300" --preview "$out/adjusted.png"
echo "== done"
echo "merged map: $out/merged.svg"
echo "preview:    $out/merged.png"
echo "cut to the outline: $out/adjusted.svg (preview $out/adjusted.png)"
echo "the uncut map the tiles were cut from, to compare: $out/tiles/reference.svg"
