#!/usr/bin/env bash
# The virtual display (Xvfb) the Windows tests open their windows on, whether or not there is a
# desktop: "start FOLDER" starts one, writes its number to FOLDER/display and sets up the tests'
# Wine prefix (wine-prefix.reg); "stop FOLDER" ends the Wine processes of the prefix and the display.
set -euo pipefail
folder=$2
case $1 in
start)
  mkdir -p "$folder"
  rm -f "$folder/display"
  # 3> before Xvfb is started: it writes the display number there once it listens.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
  echo $! >"$folder/xvfb.pid"
  for _ in $(seq 100); do
    [ -s "$folder/display" ] && break
    sleep 0.1
  done
  if [ ! -s "$folder/display" ]; then
    echo "Xvfb did not start; see $folder/xvfb.log" >&2
    exit 1
  fi
  DISPLAY=":$(cat "$folder/display")" wine regedit /S "$(dirname "$0")/wine-prefix.reg"
  ;;
stop)
  wineserver -k 2>/dev/null || true
  [ -s "$folder/xvfb.pid" ] && kill "$(cat "$folder/xvfb.pid")" 2>/dev/null || true
  rm -f "$folder/display" "$folder/xvfb.pid"
  ;;
*)
  echo "usage: display.sh start|stop FOLDER" >&2
  exit 2
  ;;
esac
