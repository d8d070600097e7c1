#!/usr/bin/env bash
# Under a real X server: the window opens at 640 by 480 picture pixels (or a whole multiple),
# takes real mouse clicks, and ends with exit code 0 on a polite end request.
set -u
program=$1
archive=$2
. "$(dirname "$0")/xvfb_session.sh"
# A player who chose a window (a first run takes the whole screen).
printf 'gyrotide store 1\nOptions number 256\nTutorial number 0\nend\n' \
  >"$dir/user/Software.Zapfinch.Gyrotide"
start_x
start_game
w=${geometry%x*}; h=${geometry#*x}
if [ $((w * 3)) -ne $((h * 4)) ] || [ $((w % 640)) -ne 0 ]; then
  fail "window is $geometry, not a whole multiple of 640x480"
fi
xdotool mousemove --window "$window" 100 100 click 1 click 3
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "program ended after clicks"
kill -TERM "$pid"
ended_by SIGTERM
echo "ok: window $geometry, exit 0"
