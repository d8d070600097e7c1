#!/usr/bin/env bash
# Under a real X server with the real keyboard and no mouse at all: from a first start, Esc
# closes the first tip and the arrows and Enter solve the starter board (the saved board has no
# loose end); F11 gives the window back from the first start's full screen and F11 again makes
# it cover the screen; Ctrl+Q ends the program with exit code 0 and the game saved, the last
# choice of F11 with it. Then, on a prepared board, a left click
# on a tile and Ctrl+Z leave the saved board as it was.
set -u
program=$1
archive=$2
probe=$3
. "$(dirname "$0")/xvfb_session.sh"
start_x 1280x720

# Keys go to the window that has the keyboard focus; there is no window manager to give it.
keys() {
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  for k in "$@"; do xdotool key "$k"; sleep 0.35; done
}
field() { "$probe" state | awk -v f="$1" '$1 == f { $1 = ""; sub(/^ /, ""); print }'; }

start_game
sleep 0.5
# A first start is full screen, as the options' default says.
[ "$(place)" = "0 0 1280x720" ] || fail "a first start shows $(place), not the whole screen"
# The first tip, then the cursor on the middle tile; Enter turns it until the board is solved,
# and once it is, the locked board swallows the Enters left over.
keys Escape Down Return Return Return Return
sleep 0.5
keys F11
waitPlace not "0 0 1280x720" || fail "F11 left the window covering the screen"
windowed=$(place)
[ "${windowed#* * }" = 640x480 ] || fail "F11 gave the window $windowed"
keys F11
waitPlace "0 0 1280x720" || fail "F11 again gave $(place), not the whole screen"
keys F11
waitPlace "$windowed" || fail "F11 a third time gave $(place), not $windowed"
keys ctrl+q
ended_by "Ctrl+Q"
[ "$(field loose)" = 0 ] || fail "the saved board has $(field loose) loose ends"
[ "$(field options | cut -c1)" = 0 ] || fail "full screen was saved on: $(field options)"

# Undo by key after a click: the board is saved as it was before the click.
"$probe" open || fail "cannot prepare the store"
before=$(field board)
start_game
click 405 235  # the left button on cell 40, a straight line no turn can settle
sleep 0.6
keys ctrl+z
sleep 0.6
keys ctrl+q
ended_by "Ctrl+Q"
[ "$(field board)" = "$before" ] || fail "after a click and Ctrl+Z the board is $(field board), not $before"
echo "ok: a first game solved, full screen and back, undo and quit, by the keyboard"
