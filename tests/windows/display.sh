#!/usr/bin/env bash
# The virtual display (Xvfb) the Windows tests open their windows on, whether or not there is a
# desktop: "start FOLDER" starts one, writes its number to FOLDER/display and sets up the tests'
# Wine prefix (wine-prefix.reg); "stop FOLDER" ends the Wine processes of the prefix and the display.
set -euo pipefail
folder=$2
case $1 in
start)
  bash "$(dirname "$0")/../support/display.sh" start "$folder"
  DISPLAY=":$(cat "$folder/display")" wine regedit /S "$(dirname "$0")/wine-prefix.reg"
  ;;
stop)
  wineserver -k 2>/dev/null || true
  bash "$(dirname "$0")/../support/display.sh" stop "$folder"
  ;;
*)
  echo "usage: display.sh start|stop FOLDER" >&2
  exit 2
  ;;
esac
