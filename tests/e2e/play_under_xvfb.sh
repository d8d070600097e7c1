#!/usr/bin/env bash
# Under a real X server, with the real mouse: a click on the starter board's middle tile turns
# it (the window's picture changes, and stays still when nothing is done), and the quit button
# ends the program with exit code 0.
set -u
program=$1
archive=$2
for tool in Xvfb xdotool xwd; do
  command -v "$tool" >/dev/null || { echo "$tool missing: skipped"; exit 77; }
done
dir=$(mktemp -d)
cleanup() { [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
cp "$archive" "$dir/"
cd "$dir"
# A store of its own, so no saved game of the person running the tests changes the board.
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data
export GYROTIDE_USER_STORE=$dir/user GYROTIDE_MACHINE_STORE=$dir/machine
# A player who chose a window, relaxed play and no tutorial, so picture and window pixels match.
mkdir -p "$dir/user"
printf 'gyrotide store 1\nOptions number 256\nTutorial number 0\nend\n' \
  >"$dir/user/Software.Zapfinch.Gyrotide"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>display.txt >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 300); do [ -s display.txt ] && break; sleep 0.1; done
[ -s display.txt ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n 1 display.txt)
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
scale=$(( ${geometry%x*} / 640 ))
[ "$scale" -ge 1 ] || { echo "window is $geometry"; exit 1; }
# Picture coordinates to window coordinates.
at() { echo $(( $1 * scale + scale / 2 )) $(( $2 * scale + scale / 2 )); }
shot() { xwd -silent -id "$window" -out "$1" || { echo "xwd failed"; exit 1; }; }

sleep 1
shot before1.xwd
sleep 0.5
shot before2.xwd
cmp -s before1.xwd before2.xwd || { echo "the picture changes with nothing done"; exit 1; }
# The middle of the starter board: cell 40, from (380, 210) to (430, 260).
xdotool mousemove --window "$window" $(at 405 235) click 1
sleep 1
shot after.xwd
cmp -s before2.xwd after.xwd && { echo "the click turned nothing"; exit 1; }
kill -0 "$pid" 2>/dev/null || { echo "program ended after a click"; cat stderr.txt; exit 1; }

# The quit button at (23, 435).
xdotool mousemove --window "$window" $(at 50 446) click 1
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && { echo "quit did not end the program"; exit 1; }
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || { echo "exit code $code after quit"; cat stderr.txt; exit 1; }
echo "ok: a click turned the tile, quit ended with $code"
