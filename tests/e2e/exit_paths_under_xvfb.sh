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
. "$(dirname "$0")/xvfb_session.sh"
# Scoring play in a window without tips or hints, music 25 and sound 75, an allowance of 60,
# and a straight line in the middle cell that no turn solves.
"$probe" open || fail "cannot prepare the store"
start_x

# A turn of the middle tile, cell 40, then the pointer rests on the plain background, so that
# no hover look differs between two pictures.
move() {
  click 405 235
  sleep 1
  xdotool mousemove --window "$window" $(at 620 20)
  settle moved.xwd
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
cp moved.xwd before_term.xwd
kill -TERM "$pid"
ended_by SIGTERM
settled_options SIGTERM
expect moves 1 SIGTERM
expect allowance "59 60" SIGTERM
board1=$(field board)
[ "$board1" != "$board0" ] || fail "after SIGTERM the saved board is the one before the move"
state1=$("$probe" state)

start_game
settle after_start.xwd
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
quit_button
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
