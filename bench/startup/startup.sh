#!/usr/bin/env bash
# Start-up to the window on the screen, and peak resident memory, of the game against a bare
# SDL program that opens the same window and presents one frame. Each is started five times
# under its own X server; the medians are printed side by side with their ratios.
# usage: startup.sh GYROTIDE BARE_WINDOW BUILD_FOLDER
set -u
game=$1 bare=$2 build=$3
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool missing"; exit 77; }
done
dir=$(mktemp -d)
trap 'kill "$xpid" 2>/dev/null; rm -rf "$dir"' EXIT
cp "$build/gyrotide.zap" "$build/music.zap" "$dir/"
cd "$dir"
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data
export GYROTIDE_USER_STORE=$dir/user GYROTIDE_MACHINE_STORE=$dir/machine SDL_AUDIODRIVER=dummy
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>display.txt >/dev/null 2>&1 &
xpid=$!
for _ in $(seq 300); do [ -s display.txt ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 display.txt)

# Prints "milliseconds-to-window peak-kilobytes" for one start of the program.
measure() {
  local name=$1 program=$2 start end pid window=""
  start=$(date +%s%N)
  "$program" 2>/dev/null &
  pid=$!
  for _ in $(seq 2000); do
    window=$(xdotool search --name "^$name\$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.005
  done
  end=$(date +%s%N)
  sleep 1  # the first frames are drawn; the music thread has filled its ring
  local peak
  peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null
  echo "$(( (end - start) / 1000000 )) $peak"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }

for who in game bare; do
  : >"$who.txt"
  for _ in 1 2 3 4 5; do
    if [ "$who" = game ]; then measure Gyrotide "$game"; else measure Bare "$bare"; fi >>"$who.txt"
  done
done
game_ms=$(cut -d' ' -f1 game.txt | median) bare_ms=$(cut -d' ' -f1 bare.txt | median)
game_kb=$(cut -d' ' -f2 game.txt | median) bare_kb=$(cut -d' ' -f2 bare.txt | median)
echo "start-up to window: game $game_ms ms, bare $bare_ms ms, ratio $(awk "BEGIN {printf \"%.2f\", $game_ms / $bare_ms}")"
echo "peak resident:      game $game_kb kB, bare $bare_kb kB, ratio $(awk "BEGIN {printf \"%.2f\", $game_kb / $bare_kb}")"
