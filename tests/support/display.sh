#!/usr/bin/env bash
# A virtual display (Xvfb) for the tests that open windows, whether or not there is a desktop:
# "start FOLDER" starts one and writes its number to FOLDER/display; "stop FOLDER" ends it;
# "run FOLDER COMMAND..." runs the command on it.
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
    [ -s "$folder/display" ] && exit 0
    sleep 0.1
  done
  echo "Xvfb did not start; see $folder/xvfb.log" >&2
  exit 1
  ;;
stop)
  [ -s "$folder/xvfb.pid" ] && kill "$(cat "$folder/xvfb.pid")" 2>/dev/null || true
  rm -f "$folder/display" "$folder/xvfb.pid"
  ;;
run)
  shift 2
  DISPLAY=":$(cat "$folder/display")" exec "$@"
  ;;
*)
  echo "usage: display.sh start|stop|run FOLDER [COMMAND...]" >&2
  exit 2
  ;;
esac
