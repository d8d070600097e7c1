#!/usr/bin/env bash
# Under a real X server, with the real mouse and keyboard, the shared high-score table:
# - two players with stores of their own share one machine store; both start before either
#   quits, each solves a saved board one click from solved and enters a name for the bonus;
#   after both have quit, the table holds both scores;
# - a player closes the window while the name is asked for: the score stays in the table with
#   an empty name, and the next start does not enter it again.
set -u
program=$1
archive=$2
probe=$3
wm_close=$4
. "$(dirname "$0")/xvfb_session.sh"

# Each player's own folders; the machine store is the one the session set up.
as_player() {
  export GYROTIDE_USER_STORE=$dir/user-$1 XDG_DATA_HOME=$dir/data-$1
}
# Scoring play in a window without tips; the table 40 Di, 30 Cy, 20 Ben, 10 Ann; the middle
# tile one clockwise turn from solving the board, with an allowance of 60 (59 once solved).
for player in amy bob; do
  as_player $player
  "$probe" prepare || fail "cannot prepare the store of $player"
done

check_table() {
  local table
  table=$("$probe" table)
  [ "$table" = "$1" ] || fail "$(printf '%s, the table is:\n%s' "$2" "$table")"
}
# Solves the board, asks for a new game and, when a name is given, types it with Enter.
solve_and_end_game() {
  click 405 235  # the middle tile, cell 40: the board is solved
  sleep 2        # the turn, then the 59 left drain into the score
  click 88 322   # new game: the score beats 10 and the name is asked for
  sleep 1
  xdotool windowfocus --sync "$window" 2>/dev/null
  if [ -n "$1" ]; then
    xdotool type --delay 60 "$1"
    xdotool key Return
    sleep 1
  fi
}

# Both games run, each on an X server of its own, so that neither window is in the other's way.
as_player amy
start_x
amy_display=$DISPLAY amy_x=$xpid
trap 'kill "$amy_x" 2>/dev/null; cleanup' EXIT
start_game
amy_pid=$pid amy_window=$window
as_player bob
rm -f display.txt
start_x
bob_display=$DISPLAY
start_game
bob_pid=$pid bob_window=$window

export DISPLAY=$amy_display
pid=$amy_pid window=$amy_window
solve_and_end_game Amy
quit_button
ended_by "Amy's quit button"
export DISPLAY=$bob_display
pid=$bob_pid window=$bob_window
solve_and_end_game Bob
quit_button
ended_by "Bob's quit button"
check_table $'59 Amy\n59 Bob\n40 Di\n30 Cy' "after both players quit"

# The name pop-up open when the window closes.
as_player amy
"$probe" prepare || fail "cannot prepare the store again"
start_game
solve_and_end_game ""
"$wm_close" "$window" || fail "cannot send the close message"
ended_by "the window's close"
check_table $'59 \n40 Di\n30 Cy\n20 Ben' "after the window closed with the name asked for"
start_game
solve_and_end_game Again  # whatever the board is now: a second 59 would ask for a name
quit_button
ended_by "the quit button after the restart"
check_table $'59 \n40 Di\n30 Cy\n20 Ben' "after the restart"
echo "ok: both players' scores are in the shared table, and a score is entered only once"
