#!/usr/bin/env bash
# Under a real X server: the window opens at 640 by 480 picture pixels (or a whole multiple),
# takes real mouse clicks, and ends with exit code 0 on a polite end request.
set -u
program=$1
archive=$2
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool missing: skipped"; exit 77; }
done
dir=$(mktemp -d)
cleanup() { [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
cp "$archive" "$dir/"
cd "$dir"
# A store of its own: the tests never touch the settings or scores of the person running them.
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data
export GYROTIDE_USER_STORE=$dir/user GYROTIDE_MACHINE_STORE=$dir/machine
# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>display.txt >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 300); do [ -s display.txt ] && break; sleep 0.1; done
[ -s display.txt ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n 1 display.txt)
# The desktop libraries under SDL (D-Bus among them) keep allocations until exit that the leak
# checker cannot attribute; leaks of the game itself are checked by the unit tests.
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 SDL_AUDIODRIVER=dummy "$program" 2>stderr.txt &
pid=$!
window=""
for _ in $(seq 300); do
  window=$(xdotool search --name '^Gyrotide$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "no window appeared"; cat stderr.txt; exit 1; }
geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')
w=${geometry%x*}; h=${geometry#*x}
if [ $((w * 3)) -ne $((h * 4)) ] || [ $((w % 640)) -ne 0 ]; then
  echo "window is $geometry, not a whole multiple of 640x480"; exit 1
fi
xdotool mousemove --window "$window" 100 100 click 1 click 3
sleep 0.5
kill -0 "$pid" 2>/dev/null || { echo "program ended after clicks"; cat stderr.txt; exit 1; }
kill -TERM "$pid"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || { echo "exit code $code after SIGTERM"; cat stderr.txt; exit 1; }
echo "ok: window $geometry, exit $code"
