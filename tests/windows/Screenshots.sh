#!/usr/bin/env bash
# Turns the screenshots the Windows UI test saved (BMP) into PNG next to them.
set -euo pipefail
shopt -s nullglob
shots=("$1"/*.bmp)
[ ${#shots[@]} -gt 0 ] || { echo "no screenshots in $1" >&2; exit 1; }
for bmp in "${shots[@]}"; do
  bmptopnm "$bmp" 2>/dev/null | pnmtopng >"${bmp%.bmp}.png" 2>/dev/null
  echo "${bmp%.bmp}.png"
done
