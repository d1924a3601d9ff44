#!/usr/bin/env bash
# Sample tiles merged through the AppKit window (driven by quiltor-host merge) must give the very
# document the terminal dialog gives: that of the terminal build when there is one, and that of
# this build with no display, where the terminal dialog stands in.
# Usage: SameAsTerminal.sh APPKIT_BUILD [TERMINAL_BUILD]
set -euo pipefail
appkit=$1
terminal=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -n "${DISPLAY:-}" ] || { echo "no display: run through display.sh" >&2; exit 1; }
for kind in material tokyo23; do
  tiles="$work/地図 $kind"
  "$appkit/tools/samplemap/quiltor-samplemap" --kind "$kind" -o "$tiles" >/dev/null
  "$appkit/host/quiltor-host" merge "$tiles" -o "$work/$kind-window.svg" --page A0-landscape --no-face-join \
    >"$work/$kind-window.txt"
  grep -qF "DIALOG: Quiltor セレクトマージ - ファイル選択 -> " "$work/$kind-window.txt"
  grep -qF ", line join on, face join off, OK" "$work/$kind-window.txt"
  env -u DISPLAY "$appkit/host/quiltor-host" merge "$tiles" -o "$work/$kind-text.svg" --page A0-landscape \
    --no-face-join >"$work/$kind-text.txt"
  if grep -q '^DIALOG: ' "$work/$kind-text.txt"; then
    echo "without a display the window was driven" >&2
    exit 1
  fi
  cmp "$work/$kind-window.svg" "$work/$kind-text.svg"
  if [ -x "$terminal/host/quiltor-host" ]; then
    "$terminal/host/quiltor-host" merge "$tiles" -o "$work/$kind-terminal.svg" --page A0-landscape --no-face-join \
      >/dev/null
    cmp "$work/$kind-window.svg" "$work/$kind-terminal.svg"
  fi
  echo "$kind: the same merged document"
done
# A display named but not there is no display either: the terminal dialog, not a failed run.
DISPLAY=:4093 "$appkit/host/quiltor-host" merge "$work/地図 material" -o "$work/unreachable.svg" --page A0-landscape \
  --no-face-join >"$work/unreachable.txt"
cmp "$work/material-window.svg" "$work/unreachable.svg"
# A chosen subset, one row at a time.
"$appkit/host/quiltor-host" merge "$work/地図 material" -o "$work/two.svg" --tiles 533945_025000,533946_025000 \
  >"$work/two.txt"
grep -qF -- "-> 2 of 9 added" "$work/two.txt"
env -u DISPLAY "$appkit/host/quiltor-host" merge "$work/地図 material" -o "$work/two-text.svg" \
  --tiles 533945_025000,533946_025000 >/dev/null
cmp "$work/two.svg" "$work/two-text.svg"
# A declined size question shows the window again, which the robot closes: the run ends unsaved.
if "$appkit/host/quiltor-host" merge "$work/地図 material" -o "$work/declined.svg" --page A4 --no \
  >"$work/declined.txt"; then
  echo "a merge with the size declined succeeded" >&2
  exit 1
fi
grep -qF "DIALOG: Quiltor セレクトマージ - ファイル選択 shown again -> closed" "$work/declined.txt"
[ ! -e "$work/declined.svg" ]
echo "the window's merges are the terminal dialog's"
