#!/bin/sh
# Run by deb_in_chroot.sh as a player inside the chroot: start the game by the menu's command
# under Xvfb, click the middle tile, photograph the window before and after, end it politely.
set -u
cd "$HOME"
echo "gyrotide on the player's PATH: $(command -v gyrotide)"
Xvfb :7 -screen 0 1024x768x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
xpid=$!
export DISPLAY=:7
sleep 2
SDL_AUDIODRIVER=dummy gyrotide >/tmp/game.log 2>&1 &
pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name '^Gyrotide$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "no window appeared"; cat /tmp/game.log; kill "$xpid"; exit 1; }
sleep 2
echo "window: $(xdotool getwindowgeometry "$window" | tr '\n' ' ')"
photograph() { xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >"$1"; }
photograph /tmp/before.png
# The middle tile of the board, at (405, 235) in the 640 by 480 picture.
xdotool mousemove --window "$window" 405 235 click 1
sleep 1.5
photograph /tmp/after.png
if cmp -s /tmp/before.png /tmp/after.png; then
  echo "the click changed nothing on screen"
else
  echo "the click changed the picture"
fi
kill -TERM "$pid"
wait "$pid"
echo "exit code after SIGTERM: $?"
echo "game's output: $(cat /tmp/game.log)"
kill "$xpid"
echo "player's files:"
find "$HOME/.config" "$HOME/.local" -type f 2>/dev/null || true
echo "shared folder:"
ls -la /var/games/gyrotide
