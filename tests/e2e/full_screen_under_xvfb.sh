#!/usr/bin/env bash
# Under a real X server with a wide screen, with the real mouse: ticking full screen on the
# options makes the window cover the screen at once, the picture scaled to the screen's height
# and centred between black bars; a click through the scaled picture turns the tile under it
# and nothing else on the board; unticking full screen brings back the window's former
# position and size. Quit still ends the program with exit code 0.
set -u
program=$1
archive=$2
probe=$3
store_probe=$4
. "$(dirname "$0")/xvfb_session.sh"
# A player who chose a window and no tutorial, with a saved board that one clockwise turn of
# its middle tile solves (every start deals a different starter board).
"$store_probe" prepare || fail "cannot prepare the store"
# 1280 by 720: full screen shows the picture at 1.5 times, 960 by 720, from x = 160.
screenW=1280
screenH=720
start_x ${screenW}x${screenH}
start_game

alive() { kill -0 "$pid" 2>/dev/null || fail "program ended: $1"; }
# Clicks the picture point (x, y) of a window whose picture starts at (ox, oy) at scale
# num/den, in screen coordinates.
click() {
  local x=$(( ox + ($1 * num + num / 2) / den )) y=$(( oy + ($2 * num + num / 2) / den ))
  xdotool mousemove --sync "$x" "$y" click 1
  sleep 0.4
}

sleep 1
windowed=$(place)
read -r wx wy wg <<<"$windowed"
ww=${wg%x*}
scale=$(( ww / 640 ))
[ "$scale" -ge 1 ] || { echo "window is $windowed"; exit 1; }
ox=$wx oy=$wy num=$scale den=1

click 129 441  # the options button at (94, 429)
click 133 109  # the full-screen box at (121, 97)
waitPlace not "$windowed" || { echo "ticking full screen left the window at $windowed"; exit 1; }
sleep 0.5
full=$(place)
[ "$full" = "0 0 ${screenW}x${screenH}" ] || { echo "full screen window is $full"; exit 1; }
alive "after full screen"
ox=160 oy=0 num=3 den=2
click 590 446  # OK at (548, 429): the options close
xwd -silent -root -out before.xwd || { echo "xwd failed"; exit 1; }
click 405 235  # the middle of the board, cell 40: (380, 210) to (430, 260)
sleep 0.6
xwd -silent -root -out after.xwd || { echo "xwd failed"; exit 1; }
"$probe" png after.xwd fullscreen.png || { echo "cannot read the screen dump"; exit 1; }
# Turning the middle tile solves the board: the tile, the loose-ends counter and the
# place of the next-puzzle button change, the controls on the left do not. A click landing
# anywhere but cell 40 would turn nothing or leave loose ends.
changedIn() { "$probe" changed before.xwd after.xwd "$@" | cut -d' ' -f1; }
# Picture (x, y, w, h) to the screen's pixels.
scaled() { echo $(( 160 + $1 * 3 / 2 )) $(( $2 * 3 / 2 )) $(( $3 * 3 / 2 )) $(( $4 * 3 / 2 )); }
[ "$(changedIn $(scaled 380 210 50 50))" -gt 0 ] || { echo "cell 40 did not turn"; exit 1; }
[ "$(changedIn $(scaled 116 5 52 37))" -gt 0 ] || { echo "the loose ends were not counted again"; exit 1; }
[ "$(changedIn $(scaled 313 451 184 28))" -gt 0 ] || { echo "the board was not solved"; exit 1; }
[ "$(changedIn $(scaled 20 170 140 230))" -eq 0 ] || { echo "the controls changed"; exit 1; }
# The bars beside the picture stay black.
for bar in "0 0 160 720" "1120 0 160 720"; do
  [ "$("$probe" brightest after.xwd $bar)" = 0 ] || { echo "a bar beside the picture is not black"; exit 1; }
done

click 129 441  # options again
click 133 109  # untick full screen
waitPlace "$windowed" || { echo "leaving full screen gave $(place), not $windowed"; exit 1; }
alive "after leaving full screen"
ox=$wx oy=$wy num=$scale den=1
click 590 446  # OK
click 50 446   # quit at (23, 435)
ended_by "the quit button"
if [ -n "${GYROTIDE_KEEP_SHOT:-}" ]; then cp fullscreen.png "$GYROTIDE_KEEP_SHOT"; fi
echo "ok: full screen $full and back to $windowed; the click turned only the middle tile"
