#!/usr/bin/env bash
# Runs a Windows program of the tests under Wine on the tests' virtual display (display.sh).
set -euo pipefail
DISPLAY=":$(cat "${QUILTOR_TEST_DISPLAY:?the display folder of display.sh}/display")" exec wine "$@"
