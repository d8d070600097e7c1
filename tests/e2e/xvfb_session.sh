# Sourced by the end-to-end scripts: the game in a folder of its own with its archive, a
# settings store of its own, a private X server, and the few hands a test needs on the window.
# Needs `program` and `archive` set; leaves the shell in that folder.
for tool in Xvfb xdotool xwd; do
  command -v "$tool" >/dev/null || { echo "$tool missing: skipped"; exit 77; }
done
dir=$(mktemp -d)
cleanup() { [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null; [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
cp "$archive" "$dir/"
cd "$dir"
# The tests never touch the settings or scores of the person running them.
export XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data
export GYROTIDE_USER_STORE=$dir/user GYROTIDE_MACHINE_STORE=$dir/machine
mkdir -p "$dir/user" "$dir/machine"

fail() { echo "$1"; cat "$dir/stderr.txt" 2>/dev/null; exit 1; }

# Xvfb, of a screen of $1 (by default 1024x768), picks a free display and writes its number
# once it accepts clients. It does not reset when its last client leaves: the tests' own
# short connections come and go while the game is still starting.
start_x() {
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset 3>display.txt \
    >"$dir/xvfb.txt" 2>&1 &
  xpid=$!
  for _ in $(seq 300); do [ -s display.txt ] && break; sleep 0.1; done
  [ -s display.txt ] || fail "Xvfb did not start"
  export DISPLAY=:$(head -n 1 display.txt)
}

# What the program was doing and which windows the server had, for a start that failed.
window_report() {
  echo "program $(awk '/^State/ {print $2 $3}' "/proc/$pid/status" 2>/dev/null)" \
    "waiting in $(cat "/proc/$pid/wchan" 2>/dev/null);" \
    "windows: $(xdotool search --name . getwindowname %@ 2>/dev/null | tr '\n' '|')" \
    "on display $DISPLAY (the program's: $(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | sed -n 's/^DISPLAY=//p'));" \
    "windows of the program, named or not: $(xdotool search --pid "$pid" 2>/dev/null | tr '\n' ' ')"
  command -v xwininfo >/dev/null && xwininfo -root -tree 2>&1 | head -n 20
  tail -n 5 "$dir/xvfb.txt" 2>/dev/null
  # Where each thread is, when a debugger is at hand.
  if command -v gdb >/dev/null; then
    timeout 20 gdb -p "$pid" -batch -ex "thread apply all bt 12" 2>/dev/null | grep -E '^(#|Thread)'
  fi
}

# Starts the game and waits for its window; `scale` is the window's whole multiple of the
# picture. The desktop libraries under SDL (D-Bus among them) keep allocations until exit that
# the leak checker cannot attribute; leaks of the game itself are checked by the unit tests.
# A shell without job control starts background commands with SIGINT ignored; a game started
# from a terminal has it at its default, as here.
start_game() {
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 SDL_AUDIODRIVER=dummy \
    env --default-signal=INT "$program" 2>"$dir/stderr.txt" &
  pid=$!
  # SDL may replace its first window while it sets up drawing: a window found is only taken
  # once its geometry can be read.
  window=""
  geometry=""
  for _ in $(seq 600); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
    window=$(xdotool search --name '^Gyrotide$' 2>/dev/null | head -n 1)
    if [ -n "$window" ]; then
      geometry=$(xdotool getwindowgeometry "$window" 2>/dev/null | awk '/Geometry/ {print $2}')
      [ -n "$geometry" ] && break
    fi
    sleep 0.1
  done
  [ -n "$geometry" ] || fail "no window appeared: $(window_report)"
  sleep 1
  # The window that stands once the game has settled.
  window=$(xdotool search --name '^Gyrotide$' 2>/dev/null | tail -n 1)
  geometry=$(xdotool getwindowgeometry "$window" 2>/dev/null | awk '/Geometry/ {print $2}')
  scale=$(( ${geometry%x*} / 640 ))
  [ "$scale" -ge 1 ] || fail "window is $geometry"
}

# Picture coordinates to window coordinates.
at() { echo $(( $1 * scale + scale / 2 )) $(( $2 * scale + scale / 2 )); }
click() { xdotool mousemove --window "$window" $(at "$1" "$2") click "${3:-1}"; }
shot() { xwd -silent -id "$window" -out "$1" || fail "xwd failed"; }
quit_button() { click 50 446; }  # the quit button at (23, 435)

# Waits until the window's picture stands still (two shots half a second apart agree), at
# most 20 s, and leaves the last shot in $1; a loaded machine may take longer than usual to
# finish a start or a turn.
settle() {
  shot "$1"
  for _ in $(seq 40); do
    sleep 0.5
    shot settle_next.xwd
    cmp -s "$1" settle_next.xwd && return 0
    mv settle_next.xwd "$1"
  done
  fail "the picture never came to rest"
}

# "x y WxH" of the window on the screen.
place() {
  xdotool getwindowgeometry "$window" |
    awk '/Position/ {split($2, p, ","); x = p[1]; y = p[2]} /Geometry/ {g = $2} END {print x, y, g}'
}
# Waits until the window's place is (or, with "not", is no longer) the given one.
waitPlace() {
  for _ in $(seq 50); do
    now=$(place)
    if [ "$1" = not ]; then [ "$now" != "$2" ] && return 0; else [ "$now" = "$1" ] && return 0; fi
    sleep 0.1
  done
  return 1
}

# Waits for the program to end by itself after $1, and wants exit code 0.
ended_by() {
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "the program went on after $1"
  wait "$pid"
  local code=$?
  pid=""
  [ "$code" -eq 0 ] || fail "exit code $code after $1"
}
