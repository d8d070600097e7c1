#!/usr/bin/env bash
# Under a real X server, with the real mouse: a click on the starter board's middle tile turns
# it (the window's picture changes, and stays still when nothing is done), and the quit button
# ends the program with exit code 0.
set -u
program=$1
archive=$2
. "$(dirname "$0")/xvfb_session.sh"
# A player who chose a window, relaxed play and no tutorial, so picture and window pixels match.
printf 'gyrotide store 1\nOptions number 256\nTutorial number 0\nend\n' \
  >"$dir/user/Software.Zapfinch.Gyrotide"
start_x
start_game
settle before1.xwd
sleep 0.5
shot before2.xwd
cmp -s before1.xwd before2.xwd || fail "the picture changes with nothing done"
# The middle of the starter board: cell 40, from (380, 210) to (430, 260).
click 405 235
sleep 1
shot after.xwd
cmp -s before2.xwd after.xwd && fail "the click turned nothing"
kill -0 "$pid" 2>/dev/null || fail "program ended after a click"
quit_button
ended_by "the quit button"
echo "ok: a click turned the tile, quit ended with 0"
