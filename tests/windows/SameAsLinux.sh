#!/usr/bin/env bash
# Sample tiles merged and the merged map cut to an outline by quiltor-host.exe under Wine must
# give the very documents the Linux build gives for the same tiles.
# Usage: SameAsLinux.sh LINUX_BUILD WINDOWS_BUILD
set -euo pipefail
linux=$1
windows=$2
for program in "$linux/tools/samplemap/quiltor-samplemap" "$linux/host/quiltor-host"; do
  [ -x "$program" ] || { echo "no $program: build the Linux programs first (tools/run-tests.sh)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
outline="1100,2200 2600,2000 2900,3100 2000,3800 1000,3300"
windows_host() { QUILTOR_PLUGIN_DIR=$windows/plugins "${QUILTOR_WINE:-wine}" "$windows/host/quiltor-host.exe" "$@"; }
for kind in material tokyo23; do
  # A folder name in Japanese goes through the Shift-JIS texts of the plug-ins and back.
  tiles="$work/地図 $kind"
  "$linux/tools/samplemap/quiltor-samplemap" --kind "$kind" -o "$tiles" >/dev/null
  "$linux/host/quiltor-host" merge "$tiles" -o "$work/$kind-linux.svg" --page A0-landscape >/dev/null
  windows_host merge "$tiles" -o "$work/$kind-windows.svg" --page A0-landscape >"$work/$kind-windows.txt"
  cmp "$work/$kind-linux.svg" "$work/$kind-windows.svg"
  # The transcript is UTF-8, the folder's name included.
  grep -qF "FOLDER: Quiltor セレクトマージ - フォルダ選択 -> " "$work/$kind-windows.txt"
  grep -qF "地図 $kind" "$work/$kind-windows.txt"
  # The plug-in's own dialog, driven by the host.
  grep -qF "DIALOG: Quiltor セレクトマージ - ファイル選択 -> " "$work/$kind-windows.txt"
  # The Windows build asks in its own words: half-width katakana, ASCII '?', a full-width space.
  grep -qF 'QUESTION: ｱｰﾄﾎﾞｰﾄﾞよりも大きいですが合成しますか?\nｱｰﾄﾎﾞｰﾄﾞ: 1189.000×841.000[mm]\n　合成後: ' \
    "$work/$kind-windows.txt"
  "$linux/host/quiltor-host" adjust "$work/$kind-linux.svg" -o "$work/$kind-linux-cut.svg" --outline "$outline" >/dev/null
  windows_host adjust "$work/$kind-windows.svg" -o "$work/$kind-windows-cut.svg" --outline "$outline" >/dev/null
  cmp "$work/$kind-linux-cut.svg" "$work/$kind-windows-cut.svg"
  echo "$kind: the same merged and cut documents"
done
# A declined size question shows the dialog again; the end of the script closes it, which on
# Windows is Cancel: back to the folder chooser, whose end of input ends the run.
if windows_host merge "$work/地図 material" -o "$work/declined.svg" --no >"$work/declined.txt"; then
  echo "a merge with the size declined succeeded" >&2
  exit 1
fi
grep -qF "DIALOG: Quiltor セレクトマージ - ファイル選択 shown again -> closed" "$work/declined.txt"
[ "$(grep -c '^FOLDER: ' "$work/declined.txt")" -eq 2 ]
mkdir "$work/empty"
if windows_host merge "$work/empty" -o "$work/empty.svg" >"$work/empty.txt"; then
  echo "a merge of an empty folder succeeded" >&2
  exit 1
fi
grep -qF 'ERROR: Quiltor セレクトマージに対応した Adobe Illustrator ArtWork が見つかりませんでした。' "$work/empty.txt"
echo "the Windows messages read as the Windows build words them"
