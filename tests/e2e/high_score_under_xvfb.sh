#!/usr/bin/env bash
# Under a real X server, with the real mouse and keyboard: a saved board one turn from solved
# is solved by a click and its bonus beats the small table the store holds; the new-game button
# asks for the name, which is typed and confirmed with Enter; after quitting, the store's table
# holds the name and the score, and still does after the program has run once more.
set -u
program=$1
archive=$2
probe=$3
. "$(dirname "$0")/xvfb_session.sh"
# Scoring play in a window without tips; the table 40 Di, 30 Cy, 20 Ben, 10 Ann; the middle
# tile one clockwise turn from solving the board, with an allowance of 60.
"$probe" prepare || fail "cannot prepare the store"
start_x

expected=$'59 Zed\n40 Di\n30 Cy\n20 Ben'
check_table() {
  table=$("$probe" table)
  [ "$table" = "$expected" ] || fail "$(printf '%s, the table is:\n%s' "$1" "$table")"
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
quit_button
ended_by "the quit button"
check_table "after the name was entered"

start_game
quit_button
ended_by "the quit button"
check_table "after a second run"
echo "ok: 59 Zed heads the table"
