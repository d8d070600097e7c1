#!/usr/bin/env bash
# Under a real X server: every ordinary way out of the game saves it, and the next start goes on
# with the same game. A move, then SIGTERM; a start that shows the same picture, then SIGINT
# without a move, which must save exactly what was loaded; a move, then the window manager's
# close; a move, then the quit button; a move, then a hang-up; a move, then the X server going
# away, as when the desktop session ends. After each, the store is read back by the probe.
set -u
program=$1
archive=$2
probe=$3
wm_close=$4
for tool in Xvfb xdotool xwd; do
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
# Scoring play in a window without tips or hints, music 25 and sound 75, an allowance of 60,
# and a straight line in the middle cell that no turn solves.
"$probe" open || { echo "cannot prepare the store"; exit 1; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>display.txt >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 300); do [ -s display.txt ] && break; sleep 0.1; done
[ -s display.txt ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n 1 display.txt)

fail() { echo "$1"; cat stderr.txt 2>/dev/null; exit 1; }
# A shell without job control starts background commands with SIGINT ignored; a game started
# from a terminal has it at its default, as here.
start_game() {
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 SDL_AUDIODRIVER=dummy \
    env --default-signal=INT "$program" 2>stderr.txt &
  pid=$!
  window=""
  for _ in $(seq 300); do
    window=$(xdotool search --name '^Gyrotide$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window appeared"
  geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')
  scale=$(( ${geometry%x*} / 640 ))
  [ "$scale" -ge 1 ] || fail "window is $geometry"
  sleep 1
}
# Picture coordinates to window coordinates.
at() { echo $(( $1 * scale + scale / 2 )) $(( $2 * scale + scale / 2 )); }
# A turn of the middle tile, cell 40, then the pointer rests on the plain background, so that
# no hover look differs between two pictures.
move() {
  xdotool mousemove --window "$window" $(at 405 235) click 1
  sleep 1
  xdotool mousemove --window "$window" $(at 620 20)
  sleep 0.5
}
shot() { xwd -silent -id "$window" -out "$1" || fail "xwd failed"; }
# Waits for the program to end by itself after $1, and wants exit code 0.
ended_by() {
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "the program went on after $1"
  wait "$pid"
  local code=$?
  pid=""
  [ "$code" -eq 0 ] || fail "exit code $code after $1"
}
field() { "$probe" state | awk -v f="$1" '$1 == f { $1 = ""; sub(/^ /, ""); print }'; }
expect() {  # field, wanted value, after what
  local got
  got=$(field "$1")
  [ "$got" = "$2" ] || { "$probe" state; fail "after $3, $1 is '$got', not '$2'"; }
}
settled_options() {
  expect options 01100 "$1"
  expect levels "25 75" "$1"
}

board0=$(field board)
[ -n "$board0" ] || fail "the prepared store holds no board"

start_game
move
shot before_term.xwd
kill -TERM "$pid"
ended_by SIGTERM
settled_options SIGTERM
expect moves 1 SIGTERM
expect allowance "59 60" SIGTERM
board1=$(field board)
[ "$board1" != "$board0" ] || fail "after SIGTERM the saved board is the one before the move"
state1=$("$probe" state)

start_game
sleep 0.5
shot after_start.xwd
cmp -s before_term.xwd after_start.xwd || fail "the second start shows another picture than the first left"
kill -INT "$pid"
ended_by SIGINT
[ "$("$probe" state)" = "$state1" ] || fail "a start and SIGINT without a move changed the saved game"

start_game
move
"$wm_close" "$window" || fail "cannot send the close message"
ended_by "the window's close"
settled_options "the window's close"
expect moves 2 "the window's close"
board2=$(field board)
[ "$board2" != "$board1" ] || fail "after the window's close the saved board is the one before the move"

start_game
move
xdotool mousemove --window "$window" $(at 50 446) click 1  # the quit button at (23, 435)
ended_by "the quit button"
settled_options "the quit button"
expect moves 3 "the quit button"
expect allowance "57 60" "the quit button"

start_game
move
kill -HUP "$pid"
ended_by SIGHUP
settled_options SIGHUP
expect moves 4 SIGHUP

start_game
move
kill "$xpid"
wait "$xpid" 2>/dev/null
xpid=""
ended_by "the X server's end"
settled_options "the X server's end"
expect moves 5 "the X server's end"
expect allowance "55 60" "the X server's end"
echo "ok: SIGTERM, SIGINT, the window's close, the quit button, SIGHUP and the X server's end each saved the game"
