#!/usr/bin/env bash
# Under a real X server, with the real mouse and keyboard: a saved board one turn from solved
# is solved by a click and its bonus beats the small table the store holds; the new-game button
# asks for the name, which is typed and confirmed with Enter; after quitting, the store's table
# holds the name and the score, and still does after the program has run once more.
set -u
program=$1
archive=$2
scores=$3
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool missing: skipped"; exit 77; }
done
dir=$(mktemp -d)
cleanup() { [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
cp "$archive" "$dir/"
cd "$dir"
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data
export GYROTIDE_USER_STORE=$dir/user GYROTIDE_MACHINE_STORE=$dir/machine
mkdir -p "$dir/user" "$dir/machine"
# Scoring play in a window without tips; the table 40 Di, 30 Cy, 20 Ben, 10 Ann; the middle
# tile one clockwise turn from solving the board, with an allowance of 60.
"$scores" prepare || { echo "cannot prepare the store"; exit 1; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>display.txt >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 300); do [ -s display.txt ] && break; sleep 0.1; done
[ -s display.txt ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n 1 display.txt)

start_game() {
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
  sleep 1
}
# Picture coordinates to window coordinates.
at() { echo $(( $1 * scale + scale / 2 )) $(( $2 * scale + scale / 2 )); }
click() { xdotool mousemove --window "$window" $(at "$1" "$2") click 1; }
quit_game() {
  click 50 446  # the quit button at (23, 435)
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && { echo "quit did not end the program"; exit 1; }
  wait "$pid"
  code=$?
  pid=""
  [ "$code" -eq 0 ] || { echo "exit code $code after quit"; cat stderr.txt; exit 1; }
}
expected=$'59 Zed\n40 Di\n30 Cy\n20 Ben'
check_table() {
  table=$("$scores" table)
  [ "$table" = "$expected" ] || { printf '%s, the table is:\n%s\n' "$1" "$table"; exit 1; }
}

start_game
click 405 235  # the middle tile, cell 40: one move of the 60 is spent, the board is solved
sleep 2        # the turn, then the 59 left drain into the score
click 88 322   # new game, at (25, 309): the score beats 40 and the name is asked for
sleep 1
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool type --delay 60 Zed
xdotool key Return
sleep 1
quit_game
check_table "after the name was entered"

start_game
quit_game
check_table "after a second run"
echo "ok: 59 Zed heads the table"
