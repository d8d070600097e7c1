#!/usr/bin/env bash
# Under a real X server, with the real mouse: a middle click locks the middle tile of a saved
# board, and a left click on it then changes nothing: the saved board is the same and no move
# was counted. After a restart the tile is still locked: a left click still changes nothing.
set -u
program=$1
archive=$2
probe=$3
. "$(dirname "$0")/xvfb_session.sh"
# Scoring play in a window without tips; the middle tile, cell 40, is a straight line that no
# turn can settle, so the board stays in play whatever happens to it.
"$probe" open || fail "cannot prepare the store"
start_x
"$probe" state >initial.txt || fail "cannot read the store"
grep -q '^moves 0$' initial.txt || fail "the prepared game has moves"

board_and_moves() { "$probe" state | grep -E '^(board|moves|locks) '; }
expected=$(grep -E '^(board|moves) ' initial.txt; echo "locks 40")

start_game
click 405 235 2  # the middle button on cell 40, from (380, 210) to (430, 260)
sleep 0.3
click 405 235    # the left button on the locked tile
sleep 1
quit_button
ended_by "the quit button"
[ "$(board_and_moves)" = "$expected" ] ||
  fail "$(printf 'after the lock and a click:\n%s\nwanted:\n%s' "$(board_and_moves)" "$expected")"

start_game
click 405 235
sleep 1
quit_button
ended_by "the quit button"
[ "$(board_and_moves)" = "$expected" ] ||
  fail "$(printf 'after a restart and a click:\n%s\nwanted:\n%s' "$(board_and_moves)" "$expected")"
echo "ok: the locked tile ignored a click, before and after a restart"
